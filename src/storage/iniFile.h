#pragma once

#include <optional>
#include <string>
#include <vector>

// An INI file held in memory. Sections and keys are looked up regardless of letter case; sections
// and lines the program does not know survive a save. Comments and empty lines do not.
class IniFile {
public:
    // Reads the file at path; a missing file reads as empty. Throws IoError when it exists but
    // cannot be read.
    static IniFile load(const std::string& path);
    static IniFile parse(const std::vector<std::string>& lines);

    // The value of key in the first section of that name, or nothing when there is none.
    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    void setValue(const std::string& section, const std::string& key, const std::string& value);

    // The file's bytes: each section's line, its lines and one empty line, all ended by CR LF.
    std::string serialize() const;
    // Throws IoError on failure, leaving the file as it was.
    void save(const std::string& path) const;

private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;
    };

    Section* findSection(const std::string& name);
    const Section* findSection(const std::string& name) const;
    void addLine(const std::string& rawLine);

    std::vector<Section> sections_;
};
