#pragma once

namespace orna5::cli {

int CommandRebin(int argc, char** argv);
int CommandCells(int argc, char** argv);

} // namespace orna5::cli
