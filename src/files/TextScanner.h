#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace orna5 {

// `text` without the blanks (space, tab) at either end, nor any of
// `trailingToo` at its end.
std::string_view TrimBlanks(std::string_view text, std::string_view trailingToo = {});

// Splits a text stream into white-space separated words and unsigned decimal
// numbers, the way the parameter file and the snapshot are read. A failed
// number scan gives back what it looked at, so the word that stood where a
// number was expected is the next word read.
class TextScanner {
public:
    // Words longer than this keep only their first characters; no word of
    // the formats comes near it, so a cut word can never be mistaken for one.
    static constexpr std::size_t kKeptWordLength = 256;

    explicit TextScanner(std::istream& in);

    // Reads the next word; false when only white space is left. A word of
    // any length is consumed whole, but only its first kKeptWordLength
    // characters are kept in `word`.
    bool NextWord(std::string& word);

    // Scans a number like "%u": white space is skipped, then an optional sign
    // and one or more decimal digits. The value is taken modulo 2^32, so a
    // minus sign wraps to two's complement and an overlong digit run keeps
    // its exact low 32 (and so low 16 and low 8) bits. On failure nothing but
    // the white space is consumed and `value` is left alone.
    bool ScanNumber(std::uint32_t& value);

private:
    int Peek();
    int Get();
    void Unget(char c);
    void SkipSpace();

    std::streambuf* source;
    // Characters handed back by a failed scan, last one on top.
    std::string pending;
};

} // namespace orna5
