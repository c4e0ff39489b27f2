#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace orna5 {

// A profile file of "[SECTION]" headers and "Key=Value" lines, kept in memory
// as it was read so that saving it back keeps every other section, key,
// comment and their order. Section and key names match without regard to
// ASCII letter case; the text between "=" and the end of the line is the
// value, exactly (only the CRs at the end of a line are dropped).
class ProfileFile {
public:
    // Replaces the contents with the file at `path`. Returns false when it
    // cannot be opened, leaving the contents empty.
    bool Load(const std::string& path);
    // Replaces the contents with the text of `in`.
    void Load(std::istream& in);
    // Writes the contents with LF line breaks.
    void Save(std::ostream& out) const;

    // The value as an integer, or `defaultValue` when the key is missing or
    // its text (white space around it aside) is not a decimal integer of the
    // int range: an optional sign followed by digits only.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // Set a key, adding the section at the end and the key after the last key
    // of its section when missing. Returns false, changing nothing, when the
    // name or value could not be read back as written: an empty name, a line
    // break anywhere, "=" in a key, "]" in a section name, white space at
    // either end of a name, or a key starting with "[", ";" or "#".
    bool WriteInteger(const std::string& section, const std::string& key, int value);
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);

private:
    struct Line {
        bool isEntry = false;
        std::string text; // the whole line for other lines, the key for entries
        std::string value;
    };
    struct Section {
        bool hasHeader = false; // false for lines before the first header
        std::string name;
        std::vector<Line> lines;
    };

    const Line* FindEntry(const std::string& section, const std::string& key) const;

    std::vector<Section> sections;
};

} // namespace orna5
