#include "files/ParameterFile.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "files/TextScanner.h"

namespace orna5 {

namespace {

const char kMagicKey[] = "KAMBRIX_KEY";

// How a scanned number becomes its byte. Scaled values divide the low 16 bits
// of the number; every result keeps its low 8 bits.
enum class Scale {
    Plain,
    Div5,
    Div10,
    Div20,
    Div100,
    TpsFull,         // mV, stored as mV / 10 - 250
    TachoCorrection, // percent, stored as percent + 100
    // A switch the writer puts down as 0 or 1 whatever byte means "on": a
    // 1 read over a byte that is on already leaves the unit's own "on".
    OnOff
};

struct Slot {
    std::size_t offset;
    Scale scale;
};

struct Key {
    const char* name;
    std::vector<Slot> slots;
};

std::uint8_t ToByte(std::uint32_t v, Scale scale) {
    const std::uint32_t low16 = v & 0xFFFFu;
    std::uint32_t stored = v;
    switch (scale) {
    case Scale::Plain:
    case Scale::OnOff:
        break;
    case Scale::Div5:
        stored = low16 / 5;
        break;
    case Scale::Div10:
        stored = low16 / 10;
        break;
    case Scale::Div20:
        stored = low16 / 20;
        break;
    case Scale::Div100:
        stored = low16 / 100;
        break;
    case Scale::TpsFull:
        // 2500 mV is byte 0: v / 10 - 250, which is v / 10 + 6 modulo 256.
        stored = low16 / 10 + 6;
        break;
    case Scale::TachoCorrection:
        stored = v + 100;
        break;
    }
    return static_cast<std::uint8_t>(stored & 0xFFu);
}

std::vector<Slot> Run(std::size_t first, std::size_t count, Scale scale = Scale::Plain) {
    std::vector<Slot> slots;
    for (std::size_t i = 0; i < count; ++i) {
        slots.push_back({first + i, scale});
    }
    return slots;
}

std::vector<Slot> BikeSlots() {
    using namespace field;
    std::vector<Slot> slots = {{bikeCode, Scale::Plain},
                               {syncMethod, Scale::Plain},
                               {lobeCount, Scale::Plain},
                               {outputCount, Scale::Plain}};
    for (std::size_t k = 0; k < kChannels; ++k) {
        for (std::size_t offset : {maxAdvanceLobe, maxAdvanceEdge2, maxAdvancePickup2,
                                   startAdvanceLobe, startAdvanceEdge2, startAdvancePickup2}) {
            slots.push_back({offset + k, Scale::Plain});
        }
    }
    slots.push_back({revsWithoutIgnition, Scale::Plain});
    for (Slot slot : Run(compensation, 4)) {
        slots.push_back(slot);
    }
    return slots;
}

// The keys the reader knows, in the order they are compared.
const std::vector<Key>& Keys() {
    using namespace field;
    static const std::vector<Key> keys = {
        {"BIKE", BikeSlots()},
        {"GEBER_MODE", {{lobesPerRevCode, Scale::Plain}}},
        {"INPUT",
         {{invertPickup1, Scale::Plain},
          {invertPickup2, Scale::Plain},
          {input1Function, Scale::Plain},
          {input2Function, Scale::Plain},
          {neutralSideStandInputs, Scale::Plain}}},
        {"BASE_ADV", {{baseAdvance, Scale::Plain}}},
        {"LIMITER", {{limiterRpm, Scale::Plain}}},
        {"PILOT_LIGHT", {{shiftLightRpm, Scale::Div100}}},
        {"CLUTCH", {{clutchTime, Scale::Div10}, {clutchPause, Scale::Div10}}},
        {"TPS", {{tpsZeroMv, Scale::Div10}, {tpsFullMv, Scale::TpsFull}}},
        {"RPM", {{tachoPulsesPerRev, Scale::Plain}, {tachoCorrection, Scale::TachoCorrection}}},
        {"EXCITATION", {{excitationLong, Scale::OnOff}}},
        {"TPS_MAPA", {{mapUsesTps, Scale::OnOff}}},
        {"RPM_ADV", Run(mapRpm, kAxisPoints, Scale::Div100)},
        {"ADVANCE", Run(advanceMap, kMapRows * kAxisPoints)},
        {"SERVO_ENABLE", {{servoEnable, Scale::OnOff}}},
        {"SERVO_HYSTER", {{servoHysteresis, Scale::Div5}}},
        {"SERVO_RPM", Run(servoRpm, kAxisPoints, Scale::Div100)},
        {"SERVO_MV", Run(servoMv, kAxisPoints, Scale::Div20)},
    };
    return keys;
}

const Key* FindKey(const std::string& word) {
    for (const Key& key : Keys()) {
        if (word == key.name) {
            return &key;
        }
    }
    return nullptr;
}

// Builds the file text with "\n" line breaks; they become CR LF on output.
class FileText {
public:
    void Break() { text += '\n'; }
    // A keyword line: the key padded to 12 characters, values from column 13.
    void KeyLine(const char* key) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "\n%-12s", key);
        text += buffer;
    }
    void ContinuationLine() { text += "\n            "; }
    void Unsigned(unsigned value) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%5u ", value);
        text += buffer;
    }
    void Signed(int value) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%5d ", value);
        text += buffer;
    }
    // On/off fields are written as 1 for any non-zero byte, without a space.
    void Flag(std::uint8_t value) { text += value != 0 ? "    1" : "    0"; }
    void Raw(const char* s) { text += s; }

    std::string WithCrLf() const {
        std::string out;
        out.reserve(text.size() + text.size() / 16);
        for (char c : text) {
            if (c == '\n') {
                out += '\r';
            }
            out += c;
        }
        return out;
    }

private:
    std::string text;
};

} // namespace

bool ReadParameterFile(std::istream& in, ParameterImage& image) {
    TextScanner scanner(in);
    std::string word;
    bool versionMatched = false;
    while (!versionMatched && scanner.NextWord(word)) {
        std::uint32_t version = 0;
        if (word == kMagicKey && scanner.ScanNumber(version) &&
            (version & 0xFFFFu) == kParameterFileVersion) {
            versionMatched = true;
        }
    }
    if (!versionMatched) {
        return false;
    }

    ParameterImage read = image;
    while (scanner.NextWord(word)) {
        const Key* key = FindKey(word);
        if (key == nullptr) {
            continue;
        }
        for (const Slot& slot : key->slots) {
            std::uint32_t v = 0;
            // A missing number leaves its byte as it was; the word standing in
            // its place is not consumed, so a following key is still read.
            if (scanner.ScanNumber(v) &&
                !(slot.scale == Scale::OnOff && v == 1 && read[slot.offset] != 0)) {
                read[slot.offset] = ToByte(v, slot.scale);
            }
        }
    }
    image = read;
    return true;
}

void WriteParameterFile(std::ostream& out, const ParameterImage& image) {
    using namespace field;
    FileText f;
    auto values = [&](std::size_t first, std::size_t count, unsigned factor = 1) {
        for (std::size_t i = 0; i < count; ++i) {
            f.Unsigned(image[first + i] * factor);
        }
    };

    f.Raw(kMagicKey);
    char magic[16];
    std::snprintf(magic, sizeof magic, "  %3u ", kParameterFileVersion);
    f.Raw(magic);
    f.Break();

    f.KeyLine("BIKE");
    values(bikeCode, 1);
    f.ContinuationLine();
    values(syncMethod, 3);
    for (std::size_t k = 0; k < kChannels; ++k) {
        f.ContinuationLine();
        f.Unsigned(image[maxAdvanceLobe + k]);
        f.Unsigned(image[maxAdvanceEdge2 + k]);
        f.Unsigned(image[maxAdvancePickup2 + k]);
        f.ContinuationLine();
        f.Unsigned(image[startAdvanceLobe + k]);
        f.Unsigned(image[startAdvanceEdge2 + k]);
        f.Unsigned(image[startAdvancePickup2 + k]);
    }
    f.ContinuationLine();
    f.ContinuationLine();
    values(revsWithoutIgnition, 1);
    values(compensation, 4);

    f.KeyLine("GEBER_MODE");
    values(lobesPerRevCode, 1);
    f.KeyLine("INPUT");
    values(invertPickup1, 1);
    values(invertPickup2, 1);
    values(input1Function, 1);
    f.Signed(image[input2Function]);
    f.Signed(image[neutralSideStandInputs]);
    f.KeyLine("BASE_ADV");
    values(baseAdvance, 1);
    f.KeyLine("LIMITER");
    values(limiterRpm, 1);
    f.KeyLine("PILOT_LIGHT");
    values(shiftLightRpm, 1, 100);
    f.KeyLine("CLUTCH");
    values(clutchTime, 1, 10);
    values(clutchPause, 1, 10);
    f.Break();

    f.KeyLine("TPS");
    values(tpsZeroMv, 1, 10);
    f.Unsigned((image[tpsFullMv] + 250u) * 10u);
    f.KeyLine("RPM");
    values(tachoPulsesPerRev, 1);
    f.Signed(image[tachoCorrection] - 100);
    f.KeyLine("EXCITATION");
    f.Flag(image[excitationLong]);
    f.KeyLine("TPS_MAPA");
    f.Flag(image[mapUsesTps]);
    f.Break();

    f.KeyLine("RPM_ADV");
    values(mapRpm, kAxisPoints, 100);
    f.Break();

    f.KeyLine("ADVANCE");
    for (std::size_t row = 0; row < kMapRows; ++row) {
        values(MapCell(row, 0), kAxisPoints);
        f.ContinuationLine();
    }
    f.Break();

    f.KeyLine("SERVO_ENABLE");
    f.Flag(image[servoEnable]);
    f.KeyLine("SERVO_HYSTER");
    values(servoHysteresis, 1, 5);
    f.KeyLine("SERVO_RPM");
    values(servoRpm, kAxisPoints, 100);
    f.KeyLine("SERVO_MV");
    values(servoMv, kAxisPoints, 20);

    const std::string text = f.WithCrLf();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace orna5
