#include "files/ProfileFile.h"

#include "files/BoundedFile.h"
#include "files/TextScanner.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <sstream>

namespace orna5 {

namespace {

std::string Trim(const std::string& s) {
    return std::string(TrimBlanks(s));
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool HasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

bool IsSoundName(const std::string& name) {
    return !name.empty() && !HasLineBreak(name) && Trim(name) == name;
}

bool IsSoundSection(const std::string& name) {
    return IsSoundName(name) && name.find(']') == std::string::npos;
}

bool IsSoundKey(const std::string& key) {
    return IsSoundName(key) && key.find('=') == std::string::npos && key[0] != '[' &&
           key[0] != ';' && key[0] != '#';
}

bool ParseInteger(const std::string& text, int& value) {
    const std::string s = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i == s.size()) {
        return false;
    }
    // Accumulate as a negative number, whose range reaches INT_MIN.
    long long result = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return false;
        }
        result = result * 10 - (s[i] - '0');
        if (result < static_cast<long long>(INT_MIN)) {
            return false;
        }
    }
    if (!negative) {
        result = -result;
        if (result > INT_MAX) {
            return false;
        }
    }
    value = static_cast<int>(result);
    return true;
}

} // namespace

bool ProfileFile::Load(const std::string& path) {
    // Never opens a FIFO or a device, and never takes in more than a
    // parameter file's limit: a settings file is a few hundred bytes.
    const BoundedRead file = ReadBoundedFile(path);
    if (!file.Ok()) {
        sections.clear();
        return false;
    }
    std::istringstream in(file.bytes);
    Load(in);
    return true;
}

void ProfileFile::Load(std::istream& in) {
    sections.clear();
    sections.push_back(Section{});
    std::string text;
    while (std::getline(in, text)) {
        // Every CR at the end goes, not only the one of a CR LF line end: a
        // value kept with a CR at its end would lose it at the next save and
        // read differently from then on.
        while (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        const std::string trimmed = Trim(text);
        const std::size_t close = trimmed.find(']');
        if (!trimmed.empty() && trimmed[0] == '[' && close != std::string::npos) {
            Section section;
            section.hasHeader = true;
            section.name = Trim(trimmed.substr(1, close - 1));
            sections.push_back(section);
            continue;
        }
        Line line;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos && !trimmed.empty() && trimmed[0] != ';' &&
            trimmed[0] != '#' && equals != text.find_first_not_of(" \t")) {
            line.isEntry = true;
            line.text = Trim(text.substr(0, equals));
            line.value = text.substr(equals + 1);
        } else {
            line.text = text;
        }
        sections.back().lines.push_back(line);
    }
}

void ProfileFile::Save(std::ostream& out) const {
    for (const Section& section : sections) {
        if (section.hasHeader) {
            out << '[' << section.name << "]\n";
        }
        for (const Line& line : section.lines) {
            if (line.isEntry) {
                out << line.text << '=' << line.value << '\n';
            } else {
                out << line.text << '\n';
            }
        }
    }
}

const ProfileFile::Line* ProfileFile::FindEntry(const std::string& section,
                                                const std::string& key) const {
    for (const Section& s : sections) {
        if (!s.hasHeader || !SameName(s.name, section)) {
            continue;
        }
        for (const Line& line : s.lines) {
            if (line.isEntry && SameName(line.text, key)) {
                return &line;
            }
        }
        // Like the first of two equal sections, the first occurrence rules.
        return nullptr;
    }
    return nullptr;
}

int ProfileFile::ReadInteger(const std::string& section, const std::string& key,
                             int defaultValue) const {
    const Line* line = FindEntry(section, key);
    int value = 0;
    if (line != nullptr && ParseInteger(line->value, value)) {
        return value;
    }
    return defaultValue;
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
    const Line* line = FindEntry(section, key);
    return line != nullptr ? line->value : defaultValue;
}

bool ProfileFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
    if (!IsSoundSection(section) || !IsSoundKey(key) || HasLineBreak(value)) {
        return false;
    }
    auto s = std::find_if(sections.begin(), sections.end(), [&](const Section& candidate) {
        return candidate.hasHeader && SameName(candidate.name, section);
    });
    if (s == sections.end()) {
        Section added;
        added.hasHeader = true;
        added.name = section;
        sections.push_back(added);
        s = sections.end() - 1;
    }
    auto lastEntry = s->lines.end();
    for (auto line = s->lines.begin(); line != s->lines.end(); ++line) {
        if (!line->isEntry) {
            continue;
        }
        if (SameName(line->text, key)) {
            line->value = value;
            return true;
        }
        lastEntry = line;
    }
    Line added;
    added.isEntry = true;
    added.text = key;
    added.value = value;
    const auto at = lastEntry == s->lines.end() ? s->lines.begin() : lastEntry + 1;
    s->lines.insert(at, added);
    return true;
}

} // namespace orna5
