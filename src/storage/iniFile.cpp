#include "storage/iniFile.h"

#include <algorithm>
#include <cctype>
#include <utility>

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

// The key of a stored "key=value" line; lines without "=" have none.
std::optional<std::string> keyOf(const std::string& line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return std::nullopt;
    }
    return line.substr(0, equals);
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
    while (reader.readLine(line)) {
        ini.addLine(line);
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
        sections_.push_back({trimmed(line.substr(1, line.size() - 2)), {}});
        return;
    }
    if (sections_.empty()) {
        return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
        sections_.back().lines.push_back(line);
    } else {
        sections_.back().lines.push_back(trimmed(line.substr(0, equals)) + "=" +
                                         trimmed(line.substr(equals + 1)));
    }
}

IniFile::Section* IniFile::findSection(const std::string& name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

const IniFile::Section* IniFile::findSection(const std::string& name) const {
    const auto found = std::find_if(sections_.begin(), sections_.end(), [&](const Section& s) {
        return equalsIgnoringCase(s.name, name);
    });
    return found == sections_.end() ? nullptr : &*found;
}

std::optional<std::string> IniFile::value(const std::string& section,
                                          const std::string& key) const {
    const Section* found = findSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    for (const std::string& line : found->lines) {
        const std::optional<std::string> lineKey = keyOf(line);
        if (lineKey && equalsIgnoringCase(*lineKey, key)) {
            return line.substr(lineKey->size() + 1);
        }
    }
    return std::nullopt;
}

void IniFile::setValue(const std::string& section, const std::string& key,
                       const std::string& value) {
    Section* target = findSection(section);
    if (target == nullptr) {
        sections_.push_back({section, {}});
        target = &sections_.back();
    }
    const std::string newLine = key + "=" + value;
    for (std::string& line : target->lines) {
        const std::optional<std::string> lineKey = keyOf(line);
        if (lineKey && equalsIgnoringCase(*lineKey, key)) {
            line = newLine;
            return;
        }
    }
    target->lines.push_back(newLine);
}

std::string IniFile::serialize() const {
    std::string bytes;
    for (const Section& section : sections_) {
        bytes += "[" + section.name + "]\r\n";
        for (const std::string& line : section.lines) {
            bytes += line + "\r\n";
        }
        bytes += "\r\n";
    }
    return bytes;
}

void IniFile::save(const std::string& path) const {
    writeFileReplacing(path, serialize());
}
