#pragma once

#include "params/ParameterImage.h"

#include <string>
#include <vector>

namespace orna5 {
struct LogSkips;
}

namespace orna5::cli {

// Exit statuses of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The arguments of one command: positional words and --options with values.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> flags; // the switches given, of those named

    const std::string* Option(const std::string& name) const;
    bool Flag(const std::string& name) const;
};

// Splits argv[first..] into positional words and the options named in
// withValue (each takes a value, as "--port X" or "--port=X"; the first one
// given counts) and the switches named in flags (no value); false with a
// message on stderr for an unknown option or a missing value.
bool ParseArguments(int argc, char** argv, int first, const std::vector<std::string>& withValue,
                    Arguments& out, const std::vector<std::string>& flags = {});

// A whole decimal number within [low, high] (high below 10^9), nothing else.
bool ParseNumber(const std::string& text, int low, int high, int& value);

// The image the window starts with: zero bytes, model code 20 and its preset.
ParameterImage StartupImage();

// Reads an .ign file into image. On failure prints the system's message on
// stderr ("Open file error!" or "Unmatched version of *.ign file!") and
// returns false with the image unchanged.
bool LoadParameterFile(const std::string& path, ParameterImage& image);

// Writes the image as an .ign file through a temporary file that replaces
// the target only when complete; false with "Open file error!" on stderr.
bool SaveParameterFile(const std::string& path, const ParameterImage& image);

// "12 lines skipped: 3 with ..., ..." or nothing when none were.
std::string SkippedText(const LogSkips& skips);

int Usage(const std::string& message);

} // namespace orna5::cli
