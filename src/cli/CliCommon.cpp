#include "cli/CliCommon.h"

#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "files/MonitorLog.h"
#include "lang/Messages.h"
#include "params/BikePresets.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <algorithm>
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

bool Arguments::Flag(const std::string& name) const {
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

namespace {

// An option as the parser names it: without its dashes.
QString Bare(const std::string& name) {
    return QString::fromStdString(name.substr(name.find_first_not_of('-')));
}

} // namespace

bool ParseArguments(int argc, char** argv, int first, const std::vector<std::string>& withValue,
                    Arguments& out, const std::vector<std::string>& flags) {
    QCommandLineParser parser;
    for (const std::string& name : withValue) {
        parser.addOption({Bare(name), {}, "V"});
    }
    for (const std::string& name : flags) {
        parser.addOption({Bare(name), {}});
    }
    QStringList words{QString::fromLocal8Bit(argv[0])};
    for (int i = first; i < argc; ++i) {
        words << QString::fromLocal8Bit(argv[i]);
    }
    if (!parser.parse(words)) {
        // The word as typed, so the message names what the user wrote.
        for (const QString& word : words.mid(1)) {
            const std::string typed = word.toStdString();
            const std::string name = typed.substr(0, typed.find('='));
            const bool known =
                std::find(withValue.begin(), withValue.end(), name) != withValue.end() ||
                std::find(flags.begin(), flags.end(), name) != flags.end();
            if (word.size() > 1 && word.startsWith('-') && !known) {
                std::cerr << "orna5ctl: unknown option " << typed << '\n';
                return false;
            }
        }
        std::cerr << "orna5ctl: " << words.last().toStdString() << " needs a value\n";
        return false;
    }
    for (const std::string& name : withValue) {
        const QStringList values = parser.values(Bare(name));
        if (!values.isEmpty()) {
            // The first one given counts.
            out.options.emplace_back(name, values.first().toStdString());
        }
    }
    for (const std::string& name : flags) {
        if (parser.isSet(Bare(name))) {
            out.flags.push_back(name);
        }
    }
    for (const QString& word : parser.positionalArguments()) {
        out.positional.push_back(word.toStdString());
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

std::string SkippedText(const LogSkips& skips) {
    if (skips.Total() == 0) {
        return {};
    }
    std::string text =
        std::to_string(skips.Total()) + (skips.Total() == 1 ? " line skipped:" : " lines skipped:");
    const char* separator = " ";
    const auto add = [&text, &separator](std::size_t count, const char* what) {
        if (count) {
            text += separator + std::to_string(count) + ' ' + what;
            separator = ", ";
        }
    };
    add(skips.badTime, "with a time that cannot be read (quoted, no such date or hour)");
    add(skips.fieldCount, "with more or fewer fields than the columns");
    add(skips.badNumber, "with a field that is not a number or no rpm");
    add(skips.aheadOfTime, "stamped more than an hour ahead of the rows around");
    add(skips.tooLong, "too long to be a line of a log");
    add(skips.badHeader, "of the header or a map that cannot be read");
    add(skips.beforeColumns, "above the column line that are not header lines");
    return text;
}

int Usage(const std::string& message) {
    std::cerr << "orna5ctl: " << message << "\nTry 'orna5ctl --help'.\n";
    return kExitUsage;
}

} // namespace orna5::cli
