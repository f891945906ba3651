#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// An INI file held in memory. Sections and keys are looked up regardless of letter case; sections
// and lines the program does not know survive a save. Comments and empty lines do not.
class IniFile {
public:
    // Why a file that was read gave nothing to use.
    enum class Fault { None, BinaryBytes, NoSection };

    // Reads the file at path; a missing file reads as empty, and a UTF-8 byte-order mark at its
    // start is left out. A file with a NUL byte reads as empty, with the fault BinaryBytes. Throws
    // IoError when it exists but cannot be read, or has a line longer than longestLine.
    static IniFile load(const std::string& path);
    static IniFile parse(const std::vector<std::string>& lines);

    // The value of key in the first section of that name, or nothing when there is none.
    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    void setValue(const std::string& section, const std::string& key, const std::string& value);

    // The file's bytes: each section's line, its lines and one empty line, all ended by CR LF.
    std::string serialize() const;
    // Throws IoError on failure, leaving the file as it was.
    void save(const std::string& path) const;

    // What load found wrong with an existing file: NoSection when it held no section line.
    Fault fault() const { return fault_; }

private:
    // Where a stored line lies in text_, its line end left out.
    struct Span {
        std::size_t begin;
        std::size_t end;
    };

    void addLine(const std::string& rawLine);
    std::optional<Span> findSection(const std::string& name) const;
    std::optional<Span> findKey(const Span& section, const std::string& key) const;

    // Every stored line, each ended by "\n", a section line as "[name]": one block of text
    // rather than a string per line, so that a file of many tiny lines costs about its size.
    std::string text_;
    Fault fault_ = Fault::None;
};
