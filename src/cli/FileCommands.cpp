#include "cli/FileCommands.h"

#include "cli/CliCommon.h"
#include "params/BikePresets.h"
#include "params/NormaliseImage.h"
#include "params/ParameterReport.h"

#include <iostream>

namespace orna5::cli {

int CommandNew(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {"--bike", "-o"}, args)) {
        return kExitUsage;
    }
    const std::string* bike = args.Option("--bike");
    const std::string* out = args.Option("-o");
    int code = 0;
    if (!bike || !out || !args.positional.empty()) {
        return Usage("usage: orna5ctl new --bike CODE -o OUT");
    }
    if (!ParseNumber(*bike, 0, kBikeCount - 1, code)) {
        return Usage("the model code must be a number from 0 to 31");
    }
    // As File > New in the window: the start-up parameters, then the model's
    // defaults and preset. A model without a preset keeps the start-up
    // synchronisation set-up instead of zeros outside every range.
    ParameterImage image = StartupImage();
    image[field::bikeCode] = static_cast<std::uint8_t>(code);
    bool chosenFromList = false;
    ApplyBikePreset(image, chosenFromList);
    NormaliseImage(image);
    return SaveParameterFile(*out, image) ? kExitOk : kExitFailed;
}

int CommandNormalise(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {"-o"}, args)) {
        return kExitUsage;
    }
    const std::string* out = args.Option("-o");
    if (!out || args.positional.size() != 1) {
        return Usage("usage: orna5ctl normalise IN -o OUT");
    }
    ParameterImage image = StartupImage();
    if (!LoadParameterFile(args.positional[0], image)) {
        return kExitFailed;
    }
    NormaliseImage(image);
    return SaveParameterFile(*out, image) ? kExitOk : kExitFailed;
}

int CommandShow(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {}, args)) {
        return kExitUsage;
    }
    if (args.positional.size() != 1) {
        return Usage("usage: orna5ctl show FILE");
    }
    ParameterImage image = StartupImage();
    if (!LoadParameterFile(args.positional[0], image)) {
        return kExitFailed;
    }
    PrintImage(std::cout, image);
    return kExitOk;
}

int CommandDiff(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, 2, {}, args)) {
        return kExitUsage;
    }
    if (args.positional.size() != 2) {
        return Usage("usage: orna5ctl diff A B");
    }
    ParameterImage a = StartupImage();
    ParameterImage b = StartupImage();
    if (!LoadParameterFile(args.positional[0], a) || !LoadParameterFile(args.positional[1], b)) {
        // As with diff(1): 1 means "they differ", so trouble must not be 1.
        return kExitUsage;
    }
    return PrintDifferences(std::cout, a, b) == 0 ? kExitOk : kExitFailed;
}

} // namespace orna5::cli
