#pragma once

#include <cstddef>
#include <istream>
#include <ostream>

#include "params/ParameterImage.h"

namespace orna5 {

// The parameter snapshot keeps the whole 207-byte image between runs as
// decimal text: "%5u " per byte, ten to a line, an empty line after each
// hundred, and no line break after the last byte.
void WriteParameterSnapshot(std::ostream& out, const ParameterImage& image);

// Reads numbers into image bytes 0, 1, 2, ... in order, storing the low 8 bits
// of each. Reading stops at the end of the stream or at the first word that
// is not a number; bytes without a number keep their value. Returns how many
// bytes were read.
std::size_t ReadParameterSnapshot(std::istream& in, ParameterImage& image);

} // namespace orna5
