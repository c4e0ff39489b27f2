#pragma once

namespace orna5::cli {

// history [--limit N] | history show N | history export N -o OUT
int CommandHistory(int argc, char** argv);

} // namespace orna5::cli
