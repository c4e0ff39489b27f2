#pragma once

namespace orna5::cli {

int CommandProgram(int argc, char** argv);
int CommandVerify(int argc, char** argv);
int CommandRead(int argc, char** argv);
int CommandMonitor(int argc, char** argv);

} // namespace orna5::cli
