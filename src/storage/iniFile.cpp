#include "storage/iniFile.h"

#include <algorithm>
#include <cctype>

#include "files/textFile.h"

namespace {

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string trimmed(const std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(), isBlankOrControl);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlankOrControl).base();
    return first < last ? std::string(first, last) : std::string();
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A stored line that opens a section: the reading rule makes no other stored line look so.
bool isSectionLine(const std::string& text, std::size_t begin, std::size_t end) {
    return end - begin >= 2 && text[begin] == '[' && text[end - 1] == ']';
}

bool equalsIgnoringCase(const std::string& text, std::size_t begin, std::size_t end,
                        const std::string& other) {
    return end - begin == other.size() &&
           equalsIgnoringCase(text.substr(begin, end - begin), other);
}

std::size_t lineEnd(const std::string& text, std::size_t begin) {
    const std::size_t end = text.find('\n', begin);
    return end == std::string::npos ? text.size() : end;
}

}  // namespace

IniFile IniFile::load(const std::string& path) {
    if (!isExistingFile(path)) {
        return IniFile();
    }
    // Line by line: an empty or ignored line costs nothing, however many the file holds.
    TextLineReader reader(path);
    IniFile ini;
    std::string line;
    while (reader.readBoundedLine(line)) {
        if (line.find('\0') != std::string::npos) {
            IniFile binary;
            binary.fault_ = Fault::BinaryBytes;
            return binary;
        }
        if (reader.linesRead() == 1 && line.compare(0, 3, "\xef\xbb\xbf") == 0) {
            line.erase(0, 3);  // the byte-order mark that Windows editors write
        }
        ini.addLine(line);
    }
    // The first line kept is always a section's.
    if (ini.text_.empty()) {
        ini.fault_ = Fault::NoSection;
    }
    return ini;
}

IniFile IniFile::parse(const std::vector<std::string>& lines) {
    IniFile ini;
    for (const std::string& rawLine : lines) {
        ini.addLine(rawLine);
    }
    return ini;
}

void IniFile::addLine(const std::string& rawLine) {
    const std::string line = trimmed(rawLine);
    if (line.empty() || line.front() == ';') {
        return;
    }
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        text_.append("[").append(trimmed(line.substr(1, line.size() - 2))).append("]\n");
        return;
    }
    if (text_.empty()) {
        return;  // before the first section
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
        text_.append(line).append("\n");
    } else {
        text_.append(trimmed(line.substr(0, equals)))
            .append("=")
            .append(trimmed(line.substr(equals + 1)))
            .append("\n");
    }
}

std::optional<IniFile::Span> IniFile::findSection(const std::string& name) const {
    std::optional<Span> found;
    for (std::size_t begin = 0; begin < text_.size();) {
        const std::size_t end = lineEnd(text_, begin);
        if (isSectionLine(text_, begin, end)) {
            if (found) {
                found->end = begin;
                return found;
            }
            if (equalsIgnoringCase(text_, begin + 1, end - 1, name)) {
                found = Span{end + 1, text_.size()};
            }
        }
        begin = end + 1;
    }
    return found;
}

std::optional<IniFile::Span> IniFile::findKey(const Span& section, const std::string& key) const {
    for (std::size_t begin = section.begin; begin < section.end;) {
        const std::size_t end = lineEnd(text_, begin);
        // Within the line: a search past it would make a file of lines without "=" slow.
        const auto equals = static_cast<std::size_t>(
            std::find(text_.begin() + begin, text_.begin() + end, '=') - text_.begin());
        if (equals < end && equalsIgnoringCase(text_, begin, equals, key)) {
            return Span{begin, end};
        }
        begin = end + 1;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::value(const std::string& section,
                                          const std::string& key) const {
    const std::optional<Span> found = findSection(section);
    if (!found) {
        return std::nullopt;
    }
    const std::optional<Span> line = findKey(*found, key);
    if (!line) {
        return std::nullopt;
    }
    const std::size_t valueBegin = text_.find('=', line->begin) + 1;
    return text_.substr(valueBegin, line->end - valueBegin);
}

void IniFile::setValue(const std::string& section, const std::string& key,
                       const std::string& value) {
    const std::string newLine = key + "=" + value;
    const std::optional<Span> found = findSection(section);
    if (!found) {
        text_.append("[").append(section).append("]\n").append(newLine).append("\n");
        return;
    }
    if (const std::optional<Span> line = findKey(*found, key)) {
        text_.replace(line->begin, line->end - line->begin, newLine);
    } else {
        text_.insert(found->end, newLine + "\n");
    }
}

std::string IniFile::serialize() const {
    std::string bytes;
    bytes.reserve(text_.size() + text_.size() / 2);
    for (std::size_t begin = 0; begin < text_.size();) {
        const std::size_t end = lineEnd(text_, begin);
        if (begin > 0 && isSectionLine(text_, begin, end)) {
            bytes += "\r\n";  // the empty line that ends the section before
        }
        bytes.append(text_, begin, end - begin).append("\r\n");
        begin = end + 1;
    }
    if (!text_.empty()) {
        bytes += "\r\n";
    }
    return bytes;
}

void IniFile::save(const std::string& path) const {
    writeFileReplacing(path, serialize());
}
