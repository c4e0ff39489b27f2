#pragma once

#include "device/PortTable.h"

#include <optional>
#include <string>

namespace orna5::cli {

// The Com items' devices with the overrides of the settings file, as the
// window uses them.
PortTable LoadPortTable();

// --port auto: tries the present serial devices in the window's order and
// gives the first that answers, saying on stderr which it took; nothing
// (and the devices tried, on stderr) when none answers.
std::optional<std::string> FindUnitPort();

// orna5ctl ports [--probe]
int CommandPorts(int argc, char** argv);

} // namespace orna5::cli
