#include "device/UnitInfoBlock.h"

namespace orna5 {

namespace {

// Month codes in month order: the low byte of the sum of the characters of
// "Jan", "Feb", ... "Dec".
constexpr std::uint8_t kMonthCodes[12] = {25, 13, 32, 35, 39, 45, 43, 29, 40, 38, 51, 12};

// Appends one unit byte as a character; bytes above 0x7F are Latin-1.
void AppendByte(std::string& text, std::uint8_t byte) {
    if (byte < 0x80) {
        text += static_cast<char>(byte);
    } else {
        text += static_cast<char>(0xC0 | (byte >> 6));
        text += static_cast<char>(0x80 | (byte & 0x3F));
    }
}

// Two decimal digits of a value meant to be 0..99; larger values keep their
// last two digits instead of turning into punctuation.
void AppendTwoDigits(std::string& text, std::uint8_t value) {
    text += static_cast<char>('0' + (value / 10) % 10);
    text += static_cast<char>('0' + value % 10);
}

} // namespace

int MonthFromCode(std::uint8_t code) {
    for (int m = 0; m < 12; ++m) {
        if (kMonthCodes[m] == code) {
            return m + 1;
        }
    }
    return 0;
}

std::uint8_t MonthCode(int month) {
    if (month < 1 || month > 12) {
        return 0;
    }
    return kMonthCodes[month - 1];
}

UnitInfoTexts BuildUnitInfoTexts(const UnitInfoBlock& b) {
    UnitInfoTexts texts;

    // The prefix is text: a zero byte ends it, as it would end a C string.
    for (std::size_t i = 0; i < 3 && b[unitInfo::versionPrefix + i] != 0; ++i) {
        AppendByte(texts.versionText, b[unitInfo::versionPrefix + i]);
    }
    AppendTwoDigits(texts.versionText, b[unitInfo::versionNumber]);

    const std::uint8_t day = b[unitInfo::buildDay];
    if (day < 10) {
        texts.buildDateText += ' ';
        texts.buildDateText += static_cast<char>('0' + day);
    } else {
        AppendTwoDigits(texts.buildDateText, day);
    }
    texts.buildDateText += '.';
    const int month = MonthFromCode(b[unitInfo::buildMonthCode]);
    if (month == 0) {
        texts.buildDateText += "00";
    } else if (month < 10) {
        texts.buildDateText += ' ';
        texts.buildDateText += static_cast<char>('0' + month);
    } else {
        AppendTwoDigits(texts.buildDateText, static_cast<std::uint8_t>(month));
    }
    texts.buildDateText += ".20";
    AppendTwoDigits(texts.buildDateText, b[unitInfo::buildYear]);

    AppendTwoDigits(texts.buildTimeText, b[unitInfo::buildHour]);
    texts.buildTimeText += ':';
    AppendTwoDigits(texts.buildTimeText, b[unitInfo::buildMinute]);

    if (b[unitInfo::longVersion] != 0) {
        texts.versionText.clear();
        for (std::size_t i = 0; i < unitInfo::longVersionSize; ++i) {
            const std::uint8_t c = b[unitInfo::longVersion + i];
            if (c == 0) {
                break;
            }
            AppendByte(texts.versionText, c);
        }
    }
    return texts;
}

} // namespace orna5
