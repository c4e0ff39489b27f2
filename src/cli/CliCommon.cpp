#include "cli/CliCommon.h"

#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "lang/Messages.h"
#include "params/BikePresets.h"

#include <QString>

#include <cstdlib>
#include <iostream>

namespace orna5::cli {

const std::string* Arguments::Option(const std::string& name) const {
    for (const auto& [key, value] : options) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

bool ParseArguments(int argc, char** argv, int first, const std::vector<std::string>& withValue,
                    Arguments& out) {
    for (int i = first; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.size() > 1 && word[0] == '-') {
            bool known = false;
            for (const std::string& name : withValue) {
                known = known || name == word;
            }
            if (!known) {
                std::cerr << "orna5ctl: unknown option " << word << '\n';
                return false;
            }
            if (i + 1 >= argc) {
                std::cerr << "orna5ctl: " << word << " needs a value\n";
                return false;
            }
            out.options.emplace_back(word, argv[++i]);
        } else {
            out.positional.push_back(word);
        }
    }
    return true;
}

bool ParseNumber(const std::string& text, int low, int high, int& value) {
    // Nine digits at most: anything longer is out of range and must not overflow.
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::atoi(text.c_str());
    return value >= low && value <= high;
}

ParameterImage StartupImage() {
    ParameterImage image{};
    image[field::bikeCode] = 20;
    bool chosenFromList = false;
    ApplyBikePreset(image, chosenFromList);
    return image;
}

bool LoadParameterFile(const std::string& path, ParameterImage& image) {
    const LoadOutcome outcome = orna5::LoadParameterFile(path, image);
    if (outcome.status == LoadStatus::Loaded) {
        return true;
    }
    std::cerr << LoadFailureText(outcome, QString::fromStdString(path), English).toStdString()
              << '\n';
    return false;
}

bool SaveParameterFile(const std::string& path, const ParameterImage& image) {
    QString reason;
    if (orna5::SaveParameterFile(QString::fromStdString(path), image, &reason)) {
        return true;
    }
    std::cerr << OpenFileErrorText(QString::fromStdString(path), reason, English).toStdString()
              << '\n';
    return false;
}

int Usage(const std::string& message) {
    std::cerr << "orna5ctl: " << message << "\nTry 'orna5ctl --help'.\n";
    return kExitUsage;
}

} // namespace orna5::cli
