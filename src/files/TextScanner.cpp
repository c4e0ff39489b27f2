#include "files/TextScanner.h"

namespace orna5 {

namespace {

constexpr int kEnd = std::char_traits<char>::eof();

// White space of the "C" locale, independent of the process locale.
bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string_view TrimBlanks(std::string_view text, std::string_view trailingToo) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() &&
           (IsBlank(text.back()) || trailingToo.find(text.back()) != std::string_view::npos)) {
        text.remove_suffix(1);
    }
    return text;
}

TextScanner::TextScanner(std::istream& in) : source(in.rdbuf()) {}

int TextScanner::Peek() {
    if (!pending.empty()) {
        return static_cast<unsigned char>(pending.back());
    }
    if (source == nullptr) {
        return kEnd;
    }
    return source->sgetc();
}

int TextScanner::Get() {
    if (!pending.empty()) {
        const int c = static_cast<unsigned char>(pending.back());
        pending.pop_back();
        return c;
    }
    if (source == nullptr) {
        return kEnd;
    }
    return source->sbumpc();
}

void TextScanner::Unget(char c) {
    pending.push_back(c);
}

void TextScanner::SkipSpace() {
    while (IsSpace(Peek())) {
        Get();
    }
}

bool TextScanner::NextWord(std::string& word) {
    SkipSpace();
    word.clear();
    for (int c = Peek(); c != kEnd && !IsSpace(c); c = Peek()) {
        Get();
        if (word.size() < kKeptWordLength) {
            word.push_back(static_cast<char>(c));
        }
    }
    return !word.empty();
}

bool TextScanner::ScanNumber(std::uint32_t& value) {
    SkipSpace();
    bool negative = false;
    const int first = Peek();
    if (first == '+' || first == '-') {
        Get();
        if (!IsDigit(Peek())) {
            Unget(static_cast<char>(first));
            return false;
        }
        negative = first == '-';
    } else if (!IsDigit(first)) {
        return false;
    }
    std::uint32_t result = 0;
    while (IsDigit(Peek())) {
        result = result * 10u + static_cast<std::uint32_t>(Get() - '0');
    }
    value = negative ? 0u - result : result;
    return true;
}

} // namespace orna5
