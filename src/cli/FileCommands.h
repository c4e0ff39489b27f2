#pragma once

namespace orna5::cli {

int CommandNew(int argc, char** argv);
int CommandNormalise(int argc, char** argv);
int CommandShow(int argc, char** argv);
int CommandDiff(int argc, char** argv);

} // namespace orna5::cli
