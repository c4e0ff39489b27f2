#pragma once

#include "params/ParameterImage.h"

#include <optional>
#include <string>

namespace orna5::cli {

int CommandProgram(int argc, char** argv);
int CommandVerify(int argc, char** argv);
int CommandRead(int argc, char** argv);
int CommandMonitor(int argc, char** argv);

// What one Program of the unit is.
struct ProgramRequest {
    std::string port;
    // Read what the unit holds into a `before program` restore point first;
    // nothing is written unless it is on disk. Off: no point of what the
    // unit held, and points that cannot be kept do not fail the command.
    bool backup = true;
    std::string sourcePath; // the parameter file the programmed point names
    std::string failure;    // how a failure begins: "IN was not programmed"
};

// Programs the unit, then verifies it; the status lines on stdout, each
// failing step said on stderr. With `fileText` (and the backup read) the
// image programmed is that parameter file over what the unit held; else
// `image` as it is. Returns the exit status.
int ProgramUnit(const ParameterImage& image, const std::optional<std::string>& fileText,
                const ProgramRequest& request);

// Compares the unit with `expected`, or with the parameter file `fileText`
// over the unit's own bytes; every differing byte after "Verify
// error!" on stderr. Returns the exit status.
int VerifyUnit(const ParameterImage& expected, const std::optional<std::string>& fileText,
               const std::string& port, const std::string& sourcePath);

} // namespace orna5::cli
