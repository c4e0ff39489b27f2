#pragma once

#include <istream>
#include <ostream>

#include "params/ParameterImage.h"

namespace orna5 {

// The version of the parameter file format this program reads and writes.
constexpr unsigned kParameterFileVersion = 54;

// Reads a parameter file (.ign) from an open stream. Returns versionMatched:
// true when a "KAMBRIX_KEY 54" magic line was found. Only then is the image
// changed, and then as a whole: the keys are read into a copy that replaces
// the image at the end. Keys may come in any order and more than once (the
// last one wins); unknown words are skipped one at a time; a key that is
// missing, or a number that is missing from a key, leaves its byte as it was.
// The stream is not closed.
bool ReadParameterFile(std::istream& in, ParameterImage& image);

// Writes the whole image as a parameter file with CR LF line breaks, so the
// file is the same byte for byte whatever computer wrote it. The stream is
// neither flushed nor closed.
void WriteParameterFile(std::ostream& out, const ParameterImage& image);

} // namespace orna5
