#pragma once

#include "params/ParameterImage.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace orna5 {

// The window page a parameter is edited on; Reserved bytes have none.
enum class ParameterPage { Misc, Bike, Advance, Servo, Reserved };

// A parameter's name as an English template ("Channel %1 start advance
// lobe") and what fills it, so a shell can put the template into another
// language.
struct ParameterName {
    ParameterName(const char* text) : text(text) {}
    ParameterName(std::string text, std::vector<std::string> args = {})
        : text(std::move(text)), args(std::move(args)) {}
    std::string text;
    std::vector<std::string> args;
};

// One parameter as the user sees it: its page, its name and its value in
// user units (rpm, mV, ms, percent, list texts), read from the image.
struct ParameterValue {
    ParameterPage pageId;
    std::string page;
    std::string name;
    std::string value;
    std::size_t offset; // first image byte the value comes from
    ParameterName nameTemplate;
};

// Every parameter of the image in user units, grouped page by page in the
// window's order; the reserved bytes are listed last by their offset.
std::vector<ParameterValue> DescribeImage(const ParameterImage& image);

// The tune's checksum, then the parameters page by page, the advance map as a
// table with the rpm axis across and the throttle rows down.
void PrintImage(std::ostream& out, const ParameterImage& image);

// One parameter that differs between two images, with both values.
struct ParameterDifference {
    ParameterValue left;
    std::string rightValue;
};

// Which bytes a comparison may look at: reserved bytes only where both sides
// truly hold them (the unit against a restore point, the unit against the
// window after a Read); never the bytes 200..206 when one side is the unit; a
// page the unit never sent is not compared.
struct CompareScope {
    bool reservedBytes = true; // bytes a parameter file does not carry, 0..199
    bool localBytes = true;    // bytes 200..206, which stay on the computer
    bool page1 = true;         // bytes 0..99 are known on both sides
    bool page2 = true;         // bytes 100..199
};

// The parameters of `b` that differ from `a` within the scope, page by page
// in the window's order. A value that reads the same in user units but
// differs in its byte (a reserved bit, a list entry out of range) counts as
// different.
std::vector<ParameterDifference> CompareImages(const ParameterImage& a, const ParameterImage& b,
                                               const CompareScope& scope = {});

// One line as orna5ctl prints a difference: "Page: Name: a -> b", a reserved
// byte as "Reserved byte 60: 1 -> 0".
std::string DifferenceLine(const ParameterDifference& d);

// The parameters that differ, a line each; returns how many.
int PrintDifferences(std::ostream& out, const ParameterImage& a, const ParameterImage& b,
                     const CompareScope& scope = {});

} // namespace orna5
