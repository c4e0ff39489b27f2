#include "app/StartArguments.h"

#include <gtest/gtest.h>

namespace orna5 {
namespace {

// The window's command line: a value as "--port X" or "--port=X", the
// language only as the first word, one parameter file.
TEST(StartArguments, EachFormOfTheCommandLine) {
    struct Row {
        QStringList arguments;
        QString port;
        bool simulate;
        QString file;
        QString screenshot;
        const char* error; // part of the message, or empty
    };
    const Row rows[] = {
        {{"--port", "/dev/pts/3"}, "/dev/pts/3", false, "", "", ""},
        {{"--port=/dev/pts/3"}, "/dev/pts/3", false, "", "", ""},
        {{"DEUTSCH", "a.ign", "--simulate", "--screenshot=shots"}, "", true, "a.ign", "shots", ""},
        {{"a.ign", "DEUTSCH"}, "", false, "a.ign", "", ""},
        {{"--port", "--simulate"}, "", false, "", "", "--port needs a value"},
        {{"--screenshot"}, "", false, "", "", "--screenshot needs a value"},
        {{"--frobnicate"}, "", false, "", "", "unknown option --frobnicate"},
    };
    for (const Row& row : rows) {
        const StartArguments start = ParseStartArguments(row.arguments);
        const std::string said = row.arguments.join(' ').toStdString();
        EXPECT_EQ(start.options.port, row.port) << said;
        EXPECT_EQ(start.options.simulate, row.simulate) << said;
        EXPECT_EQ(start.options.file, row.file) << said;
        EXPECT_EQ(start.screenshotFolder, row.screenshot) << said;
        EXPECT_EQ(start.options.arguments, row.arguments) << said;
        EXPECT_TRUE(start.error.contains(row.error)) << said << start.error.toStdString();
        EXPECT_EQ(start.error.isEmpty(), *row.error == '\0') << said;
    }
}

} // namespace
} // namespace orna5
