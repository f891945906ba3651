#include "ui/qt/regionalFormatsFromLocale.h"

#include "ui/qt/qtText.h"

namespace {

// The first character of a time format that is neither a field letter nor quoted text.
QString timeSeparatorOf(const QString& timeFormat) {
    bool quoted = false;
    for (const QChar c : timeFormat) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && !c.isLetter() && !c.isSpace()) {
            return c;
        }
    }
    return QStringLiteral(":");
}

}  // namespace

RegionalFormats regionalFormatsFromLocale(const QLocale& locale) {
    RegionalFormats formats;
    formats.thousandsSeparator = toEightBit(locale.groupSeparator());
    formats.decimalSeparator = toEightBit(locale.decimalPoint());
    formats.timeSeparator = toEightBit(timeSeparatorOf(locale.timeFormat(QLocale::ShortFormat)));
    formats.amText = toEightBit(locale.amText());
    formats.pmText = toEightBit(locale.pmText());
    formats.shortDateFormat = toEightBit(locale.dateFormat(QLocale::ShortFormat));
    formats.longTimeFormat = toEightBit(locale.timeFormat(QLocale::LongFormat));
    for (int month = 1; month <= 12; ++month) {
        const auto at = static_cast<std::size_t>(month - 1);
        formats.shortMonthNames[at] = toEightBit(locale.monthName(month, QLocale::ShortFormat));
        formats.longMonthNames[at] = toEightBit(locale.monthName(month, QLocale::LongFormat));
    }
    for (int day = 1; day <= 7; ++day) {
        const auto at = static_cast<std::size_t>(day % 7);  // Qt counts from Monday
        formats.shortDayNames[at] = toEightBit(locale.dayName(day, QLocale::ShortFormat));
        formats.longDayNames[at] = toEightBit(locale.dayName(day, QLocale::LongFormat));
    }
    return formats;
}
