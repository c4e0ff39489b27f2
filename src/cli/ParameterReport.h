#pragma once

#include "params/ParameterImage.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace orna5 {

// One parameter as the user sees it: its page, its name and its value in
// user units (rpm, mV, ms, percent, list texts), read from the image.
struct ParameterValue {
    std::string page;
    std::string name;
    std::string value;
    std::size_t offset; // first image byte the value comes from
};

// Every parameter of the image in user units, grouped page by page in the
// window's order; the reserved bytes are listed last by their offset.
std::vector<ParameterValue> DescribeImage(const ParameterImage& image);

// The parameters page by page, the advance map as a table with the rpm axis
// across and the throttle rows down.
void PrintImage(std::ostream& out, const ParameterImage& image);

// The parameters that differ, each with both values; returns how many.
int PrintDifferences(std::ostream& out, const ParameterImage& a, const ParameterImage& b);

} // namespace orna5
