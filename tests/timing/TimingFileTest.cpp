#include "lang/TextTable.h"
#include "timing/TimingCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orna5 {
namespace {

TimingCheck Sample() {
    TimingCheck check;
    ParseLogTime("2026-12-09T18:30:05.250+01:00", check.time);
    check.unitVersion = "ORN12";
    check.unitBuildDate = " 7. 5.2009";
    check.tune = "0a1b2c3d";
    check.channel = 2;
    TimingPoint idle;
    idle.rpm = 1200;
    idle.strobe = 12.5;
    idle.unit = {13.0, 12.875, std::nullopt, std::nullopt};
    idle.map = 13;
    TimingPoint untyped;
    untyped.rpm = 2000;
    TimingPoint negative;
    negative.rpm = 3000;
    negative.strobe = -4.25;
    negative.unit[1] = -2.0;
    check.points = {idle, untyped, negative};
    return check;
}

const std::string kHead = "# orna5 timing light check\n# time: 2026-12-09T18:30:05.250+01:00\n";
const std::string kColumns = "rpm,strobe [deg],unit 1 [deg],unit 2 [deg],unit 3 [deg],"
                             "unit 4 [deg],map [deg],strobe - unit [deg]\n";

TEST(TimingFileTest, ACheckReadsBackAsItWasWritten) {
    const TimingCheck check = Sample();
    const std::string text = WriteTimingCheck(check);
    const TimingRead read = ReadTimingCheck(text);
    ASSERT_TRUE(read.Ok()) << TimingFaultText(read, English);
    EXPECT_EQ(read.check, check);
    // The difference column is the compared channel's, for the CSV reader.
    EXPECT_NE(text.find("\n1200,12.5,13,12.875,,,13,-0.375\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n2000,,,,,,,\n"), std::string::npos);
    EXPECT_EQ(WriteTimingCheck(read.check), text);
}

// A unit whose answer holds a line break must not split the file into
// lines a reader would take for rows.
TEST(TimingFileTest, AControlCharacterInTheUnitsNameStaysInItsLine) {
    TimingCheck check = Sample();
    check.unitVersion = "ORN\n1,2,3,4,5,6,7,8\r";
    const TimingRead read = ReadTimingCheck(WriteTimingCheck(check));
    ASSERT_TRUE(read.Ok()) << TimingFaultText(read, English);
    EXPECT_EQ(read.check.points.size(), check.points.size());
    EXPECT_EQ(read.check.unitVersion, "ORN 1,2,3,4,5,6,7,8 ");
    // A tab is text: it stays, and the check reads back the same.
    check.unitVersion = "ORN\t12";
    const TimingRead tab = ReadTimingCheck(WriteTimingCheck(check));
    ASSERT_TRUE(tab.Ok());
    EXPECT_EQ(tab.check, check);
}

// The fields of one CSV line as a spreadsheet splits it: commas outside
// double quotes, a doubled quote inside them.
std::vector<std::string> SpreadsheetFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
        const char c = line[at];
        if (quoted && c == '"' && at + 1 < line.size() && line[at + 1] == '"') {
            fields.back() += '"';
            ++at;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The unit's text goes into the export as it came: a spreadsheet must take
// each header line as one cell, whatever the unit said, and the check must
// still read back the same.
TEST(TimingFileTest, AUnitsTextStaysInOneSpreadsheetCell) {
    const struct {
        const char* fault;
        std::string version;
    } cases[] = {
        {"a comma splitting the unit's name over cells", "ORN 1,2"},
        {"a formula after a comma run by the spreadsheet", "x,=HYPERLINK(\"http://a\")"},
        {"a quote opening a field that swallows the rows", "\"ORN"},
        {"quotes only", "\"\"\""},
        {"a comma at the end", "ORN,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        TimingCheck check = Sample();
        check.unitVersion = c.version;
        check.unitBuildDate = c.version;
        const std::string text = WriteTimingCheck(check);
        const TimingRead read = ReadTimingCheck(text);
        ASSERT_TRUE(read.Ok()) << TimingFaultText(read, English);
        EXPECT_EQ(read.check, check);
        std::size_t start = 0;
        int lines = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            const std::string line = text.substr(start, end - start);
            start = end + 1;
            ++lines;
            const std::vector<std::string> fields = SpreadsheetFields(line);
            if (line.rfind("rpm,", 0) == 0 || (line[0] >= '0' && line[0] <= '9'))
                EXPECT_EQ(fields.size(), 8u) << line;
            else
                EXPECT_EQ(fields.size(), 1u) << line;
            for (const std::string& field : fields)
                EXPECT_NE(field.rfind('=', 0), 0u) << line;
        }
        EXPECT_EQ(lines, 6 + 1 + 3); // header, columns, points
    }
}

struct HostileCase {
    const char* fault; // what taking it would do
    std::string text;
    TimingFault expected;
    int line;
    int column;
    const char* english;
};

TEST(TimingFileTest, HostileFilesAreRefusedWithWhereAndWhy) {
    const std::vector<HostileCase> cases{
        {"any text taken as a check", "rpm,strobe\n1000,10\n", TimingFault::NotACheck, 1, 0,
         "not a timing light check"},
        {"an empty file taken as an empty check", "", TimingFault::NotACheck, 1, 0,
         "not a timing light check"},
        {"a file far past the bound read whole", kHead + std::string(70000, '#'),
         TimingFault::TooLarge, 0, 0, "larger than 64 KiB"},
        {"a check without its date listed with a false one",
         "# orna5 timing light check\n" + kColumns, TimingFault::NoTime, 2, 0,
         "the date of the check is missing"},
        {"an impossible date taken", "# orna5 timing light check\n# time: 2026-02-31T10:00:00\n",
         TimingFault::BadHeader, 2, 0, "line 2: a header line that cannot be read"},
        {"a tune that is not a checksum shown as one", kHead + "# tune: ../../etc\n" + kColumns,
         TimingFault::BadHeader, 3, 0, "line 3: a header line that cannot be read"},
        {"a channel beyond the four read", kHead + "# channel: 7\n" + kColumns,
         TimingFault::BadHeader, 3, 0, "line 3: a header line that cannot be read"},
        {"rows without their column line taken", kHead + "1000,10,10,,,,10,0\n",
         TimingFault::BadColumns, 3, 0, "line 3: not the check's column line"},
        {"a row of seven fields read past its end", kHead + kColumns + "1000,10,10,,,,10\n",
         TimingFault::BadRow, 4, 0, "line 4: not a row of eight fields"},
        {"a row of many fields taken", kHead + kColumns + "1000,10,10,,,,10,0,1,2,3\n",
         TimingFault::BadRow, 4, 0, "line 4: not a row of eight fields"},
        {"an exponent overflowing the rpm", kHead + kColumns + "1e999,10,10,,,,10,0\n",
         TimingFault::BadNumber, 4, 1, "line 4, column 1: not a number"},
        {"a fractional rpm taken", kHead + kColumns + "1000.5,10,10,,,,10,0\n",
         TimingFault::BadNumber, 4, 1, "line 4, column 1: not a number"},
        {"a number with a blank taken", kHead + kColumns + "1000, 10,10,,,,10,0\n",
         TimingFault::BadNumber, 4, 2, "line 4, column 2: not a number"},
        {"a fractional map value taken", kHead + kColumns + "1000,10,10,,,,10.5,0\n",
         TimingFault::BadNumber, 4, 7, "line 4, column 7: not a number"},
        {"a negative speed taken", kHead + kColumns + "-1000,10,10,,,,10,0\n",
         TimingFault::OutOfRange, 4, 1, "line 4, column 1: outside its range"},
        {"a speed no engine turns taken", kHead + kColumns + "99999,10,10,,,,10,0\n",
         TimingFault::OutOfRange, 4, 1, "line 4, column 1: outside its range"},
        {"an advance of a full turn drawn", kHead + kColumns + "1000,10,360,,,,10,0\n",
         TimingFault::OutOfRange, 4, 3, "line 4, column 3: outside its range"},
        {"a NUL inside a row read as its end",
         kHead + kColumns + std::string("1000,1\0,,,,,,\n", 14), TimingFault::BadText, 4, 0,
         "line 4: a character that is not text"},
        {"a quoted header line that does not close read on", kHead + "\"# unit: a,b\n" + kColumns,
         TimingFault::BadHeader, 3, 0, "line 3: a header line that cannot be read"},
        {"a lone quote inside a quoted header line taken",
         kHead + "\"# unit: a\"b,c\"\n" + kColumns, TimingFault::BadHeader, 3, 0,
         "line 3: a header line that cannot be read"},
        {"a quoted line of nothing but quotes taken", kHead + "\"\n" + kColumns,
         TimingFault::BadHeader, 3, 0, "line 3: a header line that cannot be read"},
        {"endless rows kept",
         [] {
             std::string text = kHead + kColumns;
             for (int n = 0; n <= 200; ++n)
                 text += "1000,,,,,,,\n";
             return text;
         }(),
         TimingFault::TooMany, 204, 0, "more than 200 points"},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.fault);
        const TimingRead read = ReadTimingCheck(c.text);
        EXPECT_EQ(read.fault, c.expected);
        EXPECT_EQ(read.line, c.line);
        EXPECT_EQ(read.column, c.column);
        EXPECT_EQ(TimingFaultText(read, English), c.english);
        EXPECT_TRUE(read.check.points.empty()); // nothing half-read is handed on
    }
}

// Files that are not quite as written here still read: another system's
// line ends, an editor's trimmed blanks, a later version's header line.
TEST(TimingFileTest, HarmlessVariationsStillRead) {
    const std::vector<std::pair<const char*, std::string>> cases{
        {"CR LF line ends refused", "# orna5 timing light check\r\n# time: "
                                    "2026-12-09T18:30:05.250+01:00\r\n# unit:\r\n" +
                                        kColumns.substr(0, kColumns.size() - 1) +
                                        "\r\n1000,10,10,,,,10,0\r\n"},
        {"a later version's header refused",
         kHead + "# humidity: 40 %\n" + kColumns + "1000,10,10,,,,10,0\n\n"},
        {"a difference column that disagrees trusted over the readings",
         kHead + kColumns + "1000,10,10,,,,10,55\n"},
    };
    for (const auto& [fault, text] : cases) {
        SCOPED_TRACE(fault);
        const TimingRead read = ReadTimingCheck(text);
        ASSERT_TRUE(read.Ok()) << TimingFaultText(read, English);
        ASSERT_EQ(read.check.points.size(), 1u);
        EXPECT_EQ(DifferenceOf(read.check.points[0], 1), 0.0);
    }
}

} // namespace
} // namespace orna5
