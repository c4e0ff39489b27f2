#pragma once

namespace orna5::cli {

int CommandPulls(int argc, char** argv);

} // namespace orna5::cli
