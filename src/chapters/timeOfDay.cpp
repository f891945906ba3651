#include "chapters/timeOfDay.h"

#include <cctype>
#include <optional>

#include "regional/regionalFormats.h"

namespace chapters {

namespace {

enum class Marker { None, Am, Pm };

class TimeScanner {
public:
    TimeScanner(const std::string& text, const RegionalFormats& formats)
        : text_(text), formats_(formats) {}

    bool scan() {
        Marker marker = scanMarker();
        const std::optional<int> hours = scanNumber();
        if (!hours || !scanText(formats_.timeSeparator)) {
            return false;
        }
        const std::optional<int> minutes = scanNumber();
        if (!minutes) {
            return false;
        }
        std::optional<int> seconds = 0;
        std::optional<int> fraction = 0;
        if (scanText(formats_.timeSeparator)) {
            seconds = scanNumber();
            if (!seconds) {
                return false;
            }
            if (scanText(formats_.decimalSeparator)) {
                fraction = scanNumber();
                if (!fraction) {
                    return false;
                }
            }
        }
        if (marker == Marker::None) {
            marker = scanMarker();
        }
        skipBlanks();
        if (position_ != text_.size()) {
            return false;
        }
        const bool hoursInRange =
            marker == Marker::None ? *hours <= 23 : *hours >= 1 && *hours <= 12;
        return hoursInRange && *minutes <= 59 && *seconds <= 59 && *fraction < 1000;
    }

private:
    void skipBlanks() {
        while (position_ < text_.size() && text_[position_] == ' ') {
            ++position_;
        }
    }

    std::optional<int> scanNumber() {
        skipBlanks();
        const std::size_t start = position_;
        int value = 0;
        while (position_ < text_.size() && value < 1000 &&
               std::isdigit(static_cast<unsigned char>(text_[position_]))) {
            value = value * 10 + (text_[position_] - '0');
            ++position_;
        }
        if (position_ == start) {
            return std::nullopt;
        }
        return value;
    }

    bool scanText(const std::string& expected) {
        const std::size_t saved = position_;
        skipBlanks();
        if (!expected.empty() && text_.compare(position_, expected.size(), expected) == 0) {
            position_ += expected.size();
            return true;
        }
        position_ = saved;
        return false;
    }

    bool scanTextIgnoringCase(const std::string& expected) {
        // An empty marker text would match anywhere; it stands for no marker at all.
        if (expected.empty() || text_.size() - position_ < expected.size()) {
            return false;
        }
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(text_[position_ + i])) !=
                std::tolower(static_cast<unsigned char>(expected[i]))) {
                return false;
            }
        }
        position_ += expected.size();
        return true;
    }

    Marker scanMarker() {
        const std::size_t saved = position_;
        skipBlanks();
        if (scanTextIgnoringCase("AM") || scanTextIgnoringCase(formats_.amText)) {
            return Marker::Am;
        }
        if (scanTextIgnoringCase("PM") || scanTextIgnoringCase(formats_.pmText)) {
            return Marker::Pm;
        }
        position_ = saved;
        return Marker::None;
    }

    const std::string& text_;
    const RegionalFormats& formats_;
    std::size_t position_ = 0;
};

}  // namespace

bool isTimeOfDay(const std::string& text, const RegionalFormats& formats) {
    return TimeScanner(text, formats).scan();
}

}  // namespace chapters
