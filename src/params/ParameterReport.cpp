#include "params/ParameterReport.h"

#include "params/BikePresets.h"
#include "params/FieldTable.h"
#include "params/TpsBreakpoints.h"
#include "params/TuneChecksum.h"

#include <cstdio>
#include <ostream>

namespace orna5 {

namespace {

const char* const kPageMisc = "Miscellaneous";
const char* const kPageBike = "Bike";
const char* const kPageAdvance = "Advance Map";
const char* const kPageServo = "Servo";

const char* const kInput1Texts[] = {"Off", "Kill switch", "Blocking"};
const char* const kInput2Texts[] = {"Off", "Kill switch", "Blocking", "Clutch master",
                                    "Clutch master inv. input"};

std::string Number(long value, const char* unit = "") {
    std::string text = std::to_string(value);
    if (*unit) {
        text += ' ';
        text += unit;
    }
    return text;
}

std::string Flag(std::uint8_t byte) {
    return byte ? "yes" : "no";
}

// A list entry by index, or the raw number when the byte is outside the list.
template <std::size_t N> std::string Choice(const char* const (&texts)[N], std::uint8_t byte) {
    if (byte < N) {
        return texts[byte];
    }
    return "(" + std::to_string(byte) + ")";
}

// The template with "%1", "%2" ... replaced by the arguments.
std::string FillName(const ParameterName& name) {
    std::string text;
    for (std::size_t i = 0; i < name.text.size(); ++i) {
        const char next = i + 1 < name.text.size() ? name.text[i + 1] : '\0';
        const auto arg = static_cast<std::size_t>(next - '1');
        if (name.text[i] == '%' && next >= '1' && arg < name.args.size()) {
            text += name.args[arg];
            ++i;
        } else {
            text += name.text[i];
        }
    }
    return text;
}

std::string Text(const std::string& text, std::uint8_t byte) {
    return text.empty() ? "(" + std::to_string(byte) + ")" : text;
}

class Collector {
public:
    explicit Collector(const ParameterImage& image) : image(image) {}

    void Add(const char* page, ParameterName name, std::size_t offset, std::string value) {
        std::string text = FillName(name);
        values.push_back(
            {pageId, page, std::move(text), std::move(value), offset, std::move(name)});
        carried[offset] = true;
    }
    std::uint8_t At(std::size_t offset) const { return image[offset]; }
    // The figure of a scaled field's byte at `offset`, with its unit.
    std::string Figure(const FieldScale& f, std::size_t offset) const {
        return Number(Shown(f, image[offset]), f.unit);
    }
    std::string Figure(const FieldScale& f) const { return Figure(f, f.offset); }

    const ParameterImage& image;
    ParameterPage pageId = ParameterPage::Misc;
    std::vector<ParameterValue> values;
    bool carried[kImageSize] = {};
};

namespace fs = fieldScale;

void DescribeMisc(Collector& c) {
    c.pageId = ParameterPage::Misc;
    const char* p = kPageMisc;
    c.Add(p, "Limiter", field::limiterRpm, c.Figure(fs::limiter));
    c.Add(p, "Gear shift light", field::shiftLightRpm, c.Figure(fs::shiftLight));
    c.Add(p, "Revolutions without ignition", field::revsWithoutIgnition,
          Number(c.At(field::revsWithoutIgnition)));
    c.Add(p, "Clutch master time", field::clutchTime, c.Figure(fs::clutchTime));
    c.Add(p, "Clutch master pause", field::clutchPause, c.Figure(fs::clutchPause));
    for (std::size_t i = 0; i < 4; ++i) {
        c.Add(p, {"Compensation %1", {std::to_string(i + 1)}}, field::compensation + i,
              Number(c.At(field::compensation + i)));
    }
    c.Add(p, "TPS 0%", field::tpsZeroMv, c.Figure(fs::tpsZero));
    c.Add(p, "TPS 100%", field::tpsFullMv, c.Figure(fs::tpsFull));
    c.Add(p, "Excitation long", field::excitationLong, Flag(c.At(field::excitationLong)));
    c.Add(p, "Inputs for neutral and side stand", field::neutralSideStandInputs,
          Flag(c.At(field::neutralSideStandInputs)));
    c.Add(p, "Input 1", field::input1Function, Choice(kInput1Texts, c.At(field::input1Function)));
    c.Add(p, "Input 2", field::input2Function, Choice(kInput2Texts, c.At(field::input2Function)));
}

void DescribeBike(Collector& c) {
    c.pageId = ParameterPage::Bike;
    const char* p = kPageBike;
    const std::uint8_t code = c.At(field::bikeCode);
    c.Add(p, "Motorbike type", field::bikeCode,
          Text(BikeListText(BikeCodeToIndex(code)), code) + " [code " + std::to_string(code) + "]");
    c.Add(p, "Synchronization method", field::syncMethod,
          Text(MethodText(c.At(field::syncMethod)), c.At(field::syncMethod)));
    c.Add(p, "Number of lobes", field::lobeCount, Number(c.At(field::lobeCount)));
    c.Add(p, "Number of outputs", field::outputCount, Number(c.At(field::outputCount)));
    const std::uint8_t perRev = c.At(field::lobesPerRevCode);
    c.Add(p, "Lobes per revolution", field::lobesPerRevCode,
          Text(LobesPerRevText((perRev + 3) % 4), perRev));
    for (std::size_t ch = 0; ch < kChannels; ++ch) {
        const std::vector<std::string> channel{std::to_string(ch + 1)};
        c.Add(p, {"Channel %1 maximum advance lobe", channel}, field::maxAdvanceLobe + ch,
              Number(c.At(field::maxAdvanceLobe + ch)));
        c.Add(p, {"Channel %1 maximum advance 2nd edge", channel}, field::maxAdvanceEdge2 + ch,
              Flag(c.At(field::maxAdvanceEdge2 + ch)));
        c.Add(p, {"Channel %1 maximum advance 2nd pick-up", channel}, field::maxAdvancePickup2 + ch,
              Flag(c.At(field::maxAdvancePickup2 + ch)));
        c.Add(p, {"Channel %1 start advance lobe", channel}, field::startAdvanceLobe + ch,
              Number(c.At(field::startAdvanceLobe + ch)));
        c.Add(p, {"Channel %1 start advance 2nd edge", channel}, field::startAdvanceEdge2 + ch,
              Flag(c.At(field::startAdvanceEdge2 + ch)));
        c.Add(p, {"Channel %1 start advance 2nd pick-up", channel}, field::startAdvancePickup2 + ch,
              Flag(c.At(field::startAdvancePickup2 + ch)));
    }
    c.Add(p, "Tachometer correction", field::tachoCorrection, c.Figure(fs::tachoCorrection));
    c.Add(p, "Tachometer pulses per revolution", field::tachoPulsesPerRev,
          Number(c.At(field::tachoPulsesPerRev)));
    c.Add(p, {"Inverse polarity of pick-up %1", {"1"}}, field::invertPickup1,
          Flag(c.At(field::invertPickup1)));
    c.Add(p, {"Inverse polarity of pick-up %1", {"2"}}, field::invertPickup2,
          Flag(c.At(field::invertPickup2)));
}

void DescribeAdvance(Collector& c) {
    c.pageId = ParameterPage::Advance;
    const char* p = kPageAdvance;
    c.Add(p, "Base advance", field::baseAdvance, c.Figure(fs::baseAdvance));
    c.Add(p, "Map uses TPS rows", field::mapUsesTps, Flag(c.At(field::mapUsesTps)));
    for (std::size_t j = 0; j < kAxisPoints; ++j) {
        c.Add(p, {"Map rpm point %1", {std::to_string(j + 1)}}, field::mapRpm + j,
              c.Figure(fs::mapRpm, field::mapRpm + j));
    }
    for (std::size_t r = 0; r < kMapRows; ++r) {
        for (std::size_t col = 0; col < kAxisPoints; ++col) {
            c.Add(p, {"Advance at TPS %1, rpm point %2", {TpsRowLabel(r), std::to_string(col + 1)}},
                  MapCell(r, col), c.Figure(fs::mapAdvance, MapCell(r, col)));
        }
    }
}

void DescribeServo(Collector& c) {
    c.pageId = ParameterPage::Servo;
    const char* p = kPageServo;
    c.Add(p, "Servo enable", field::servoEnable, Flag(c.At(field::servoEnable)));
    c.Add(p, "Servo hysteresis", field::servoHysteresis, c.Figure(fs::servoHysteresis));
    for (std::size_t j = 0; j < kAxisPoints; ++j) {
        c.Add(p, {"Servo point %1 rpm", {std::to_string(j + 1)}}, field::servoRpm + j,
              c.Figure(fs::servoRpm, field::servoRpm + j));
        c.Add(p, {"Servo point %1 voltage", {std::to_string(j + 1)}}, field::servoMv + j,
              c.Figure(fs::servoMv, field::servoMv + j));
    }
}

// Whether the scope lets a comparison look at the value's byte.
bool Compared(const CompareScope& scope, const ParameterValue& value) {
    if (value.offset >= kTransferSize) {
        return scope.localBytes;
    }
    if (value.pageId == ParameterPage::Reserved && !scope.reservedBytes) {
        return false;
    }
    return value.offset < kPageSize ? scope.page1 : scope.page2;
}

} // namespace

std::vector<ParameterValue> DescribeImage(const ParameterImage& image) {
    Collector c(image);
    DescribeMisc(c);
    DescribeBike(c);
    DescribeAdvance(c);
    DescribeServo(c);
    c.pageId = ParameterPage::Reserved;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (!c.carried[i]) {
            c.Add("Reserved", {"Reserved byte %1", {std::to_string(i)}}, i, Number(image[i]));
        }
    }
    return c.values;
}

void PrintImage(std::ostream& out, const ParameterImage& image) {
    // First, so a data log's "# tune:" line can be matched at a glance.
    out << "Tune: " << TuneChecksum(image) << "\n\n";
    std::string page;
    for (const ParameterValue& v : DescribeImage(image)) {
        if (v.offset >= field::advanceMap && v.offset < field::advanceMap + 100) {
            continue; // the map is printed as a table below its page's values
        }
        if (v.page != page) {
            if (!page.empty()) {
                out << '\n';
            }
            page = v.page;
            out << "[" << page << "]\n";
        }
        char line[160];
        std::snprintf(line, sizeof line, "  %-40s %s\n", v.name.c_str(), v.value.c_str());
        out << line;
        if (v.offset == field::mapRpm + kAxisPoints - 1) {
            out << "  Advance map [deg], rpm across, TPS down:\n  " << std::string(6, ' ');
            for (std::size_t col = 0; col < kAxisPoints; ++col) {
                std::snprintf(line, sizeof line, "%6ld",
                              Shown(fieldScale::mapRpm, image[field::mapRpm + col]));
                out << line;
            }
            out << '\n';
            for (std::size_t r = 0; r < kMapRows; ++r) {
                std::snprintf(line, sizeof line, "  %6s", TpsRowLabel(r).c_str());
                out << line;
                for (std::size_t col = 0; col < kAxisPoints; ++col) {
                    std::snprintf(line, sizeof line, "%6d", image[MapCell(r, col)]);
                    out << line;
                }
                out << '\n';
            }
        }
    }
}

std::vector<ParameterDifference> CompareImages(const ParameterImage& a, const ParameterImage& b,
                                               const CompareScope& scope) {
    std::vector<ParameterValue> left = DescribeImage(a);
    const std::vector<ParameterValue> right = DescribeImage(b);
    std::vector<ParameterDifference> differences;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (!Compared(scope, left[i])) {
            continue;
        }
        if (left[i].value != right[i].value || a[left[i].offset] != b[left[i].offset]) {
            differences.push_back({std::move(left[i]), right[i].value});
        }
    }
    return differences;
}

std::string DifferenceLine(const ParameterDifference& d) {
    // A reserved byte's name says what it is; "Reserved: Reserved byte 60" would say it twice.
    std::string line = d.left.pageId == ParameterPage::Reserved ? "" : d.left.page + ": ";
    return line + d.left.name + ": " + d.left.value + " -> " + d.rightValue;
}

int PrintDifferences(std::ostream& out, const ParameterImage& a, const ParameterImage& b,
                     const CompareScope& scope) {
    const std::vector<ParameterDifference> differences = CompareImages(a, b, scope);
    for (const ParameterDifference& d : differences) {
        out << DifferenceLine(d) << '\n';
    }
    return static_cast<int>(differences.size());
}

} // namespace orna5
