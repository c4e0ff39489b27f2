// Restore points against orna5-sim: the unit's bytes a parameter file cannot
// carry survive a backup and a restore, a history that cannot be written
// stops a Program before it writes, and a failed Verify lists every byte.

#include "Programs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <string>
#include <vector>

namespace orna5::e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The listing number of the newest restore point of `kind`; empty if none.
QString NewestOfKind(const std::string& kind) {
    for (const std::string& line : Lines(RunCtl({"history"}).out)) {
        if (Contains(line, '\t' + kind + '\t')) {
            return QString::fromStdString(line.substr(0, line.find('\t')));
        }
    }
    return {};
}

// The lines after "Verify error!" on stderr, up to orna5ctl's own remarks.
std::vector<std::string> DifferenceLines(const std::string& err) {
    std::vector<std::string> found;
    bool after = false;
    for (const std::string& line : Lines(err)) {
        if (line == "Verify error!") {
            after = true;
        } else if (after && line.rfind("orna5ctl:", 0) != 0) {
            found.push_back(line);
        }
    }
    return found;
}

QString HistoryFolder(const Workspace& ws) {
    return ws.Path("data/orna5/history");
}

// A history whose index reads but whose next point cannot be written: the
// names the next points would take lead into a folder that is not there.
void BlockNextPoints(const Workspace& ws) {
    const QDir folder(HistoryFolder(ws));
    for (int id = 1; id < 40; ++id) {
        const QString name = QString("restore-%1.point").arg(id);
        if (!QFile::exists(folder.filePath(name)) &&
            !QFile::exists(folder.filePath(QString("restore-%1.ign").arg(id)))) {
            QFile::link(ws.Path("gone/point"), folder.filePath(name));
        }
    }
}

class CtlRestore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RunCtl({"new", "--bike", "24", "-o", ws.Path("vfr.ign")}).exitCode, 0);
    }
    Workspace ws;
};

// Bytes 60 (reserved) and 15 (a flag holding 2, which a file writes as 1)
// are what a parameter file loses. A Program of a file read over the start-up
// parameters, a restore from the `.ign` rendering or a verify that compares
// them would each lose or report them.
TEST_F(CtlRestore, BytesNoFileCarriesSurviveProgramRestoreAndVerify) {
    Simulator sim({"--set", "60=1", "--set", "15=2"});
    RunResult run = RunCtl({"program", ws.Path("vfr.ign"), "--port", sim.Device()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<int> memory = sim.Memory();
    ASSERT_EQ(memory.size(), 200u);
    EXPECT_EQ(memory[0], 24); // the file's model is in
    EXPECT_EQ(memory[60], 1);
    EXPECT_EQ(memory[15], 2);
    const std::vector<int> programmed = memory;

    run = RunCtl({"read", "--port", sim.Device(), "-o", ws.Path("read.ign")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QString readPoint = NewestOfKind("read");
    ASSERT_EQ(readPoint, "1");

    memory = sim.Store("60=0 15=1 150=3");
    ASSERT_EQ(memory[150], 3);
    run = RunCtl({"history", "restore", readPoint, "--port", sim.Device()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "Restore point 1 is in the unit again")) << run.out;
    EXPECT_EQ(sim.Memory(), programmed);
    // What the unit held before the restore was kept first.
    EXPECT_FALSE(NewestOfKind("before program").isEmpty());

    // Against the point every byte counts, against the file only what it carries.
    const QStringList verifies[] = {
        {"history", "verify", NewestOfKind("read"), "--port", sim.Device()},
        {"verify", ws.Path("read.ign"), "--port", sim.Device()},
        {"verify", ws.Path("vfr.ign"), "--port", sim.Device()},
    };
    for (const QStringList& args : verifies) {
        run = RunCtl(args);
        EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString() << ": " << run.err;
        EXPECT_FALSE(Contains(run.err, "Verify error!")) << run.err;
    }
    EXPECT_TRUE(Contains(RunCtl({"history"}).out, "\tverified\t"));
}

// Without its `before program` point on disk no Program may write the unit;
// --no-backup is the one way to program without it.
TEST(CtlRestoreStore, HistoryThatCannotBeWrittenStopsTheProgramUnlessNoBackup) {
    struct Case {
        const char* name;
        bool restore;     // else program vfr.ign
        bool noBackup;    // --no-backup given
        bool historyFile; // a file where the history folder should be; else its writes fail
        int exitCode;
    };
    const Case cases[] = {
        {"program", false, false, true, 1},
        {"program --no-backup", false, true, true, 0},
        {"history restore", true, false, false, 1},
        {"history restore --no-backup", true, true, false, 0},
    };
    for (const Case& c : cases) {
        Workspace caseWs;
        ASSERT_EQ(RunCtl({"new", "--bike", "24", "-o", caseWs.Path("vfr.ign")}).exitCode, 0);
        Simulator sim;
        QStringList args = {"program", caseWs.Path("vfr.ign")};
        if (c.restore) {
            // A point of the unit as it is, then the unit changed.
            ASSERT_EQ(RunCtl({"read", "--port", sim.Device(), "-o", caseWs.Path("r.ign")}).exitCode,
                      0)
                << c.name;
            sim.Store("150=3 60=1");
            args = {"history", "restore", "1"};
        }
        args << "--port" << sim.Device();
        if (c.noBackup) {
            args << "--no-backup";
        }
        if (c.historyFile) {
            ASSERT_TRUE(QDir().mkpath(caseWs.Path("data/orna5")));
            caseWs.Write("data/orna5/history", "not a folder");
        } else {
            BlockNextPoints(caseWs);
        }
        const std::vector<int> before = sim.Memory();
        const RunResult run = RunCtl(args);
        const std::vector<int> after = sim.Memory();
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
        EXPECT_TRUE(Contains(run.err, "restore point could not be kept")) << c.name << run.err;
        if (c.exitCode != 0) {
            EXPECT_EQ(after, before) << c.name;
            EXPECT_TRUE(Contains(run.err, "the unit is untouched")) << c.name << ": " << run.err;
            EXPECT_FALSE(Contains(run.out, "Program device:: OK")) << c.name;
            EXPECT_FALSE(Contains(run.out, "in the unit again")) << c.name;
        } else {
            EXPECT_NE(after, before) << c.name;
            EXPECT_TRUE(Contains(run.out, "Program device:: OK")) << c.name << ": " << run.out;
        }
    }
}

// A restore that fails says which step failed; a message naming the wrong
// step would send the user after the wrong fault.
TEST_F(CtlRestore, FailedRestoreSaysWhichStepFailed) {
    {
        Simulator good;
        ASSERT_EQ(RunCtl({"read", "--port", good.Device(), "-o", ws.Path("r.ign")}).exitCode, 0);
    }
    struct Case {
        QStringList options;
        std::string step;
    };
    const Case cases[] = {
        {{"--silent"}, "the unit did not answer"},
        {{"--protocol", "53"}, "version mismatch"},
        {{"--bad-echo", "5"}, "programming failed"},
        {{"--bad-store", "150"}, "the verify found differences:\nAdvance Map: "},
    };
    for (const Case& c : cases) {
        Simulator sim(c.options);
        const RunResult run = RunCtl({"history", "restore", "1", "--port", sim.Device()});
        const std::string name = c.options.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_TRUE(Contains(run.err, "restore point 1 was not restored: " + c.step))
            << name << ": " << run.err;
        EXPECT_FALSE(Contains(run.out, "in the unit again")) << name;
    }
}

// A point kept before points held every byte has only its parameter file:
// restoring it as if its bytes were exact, or comparing its missing reserved
// bytes, would put or report zeros the unit never held, unsaid.
TEST_F(CtlRestore, PointWithoutItsBytesSaysSoAndComparesAsAFile) {
    Simulator sim({"--set", "60=1"});
    ASSERT_EQ(RunCtl({"read", "--port", sim.Device(), "-o", ws.Path("r.ign")}).exitCode, 0);
    ASSERT_TRUE(QFile::remove(HistoryFolder(ws) + "/restore-1.point"));

    RunResult run = RunCtl({"history", "verify", "1", "--port", sim.Device()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "its reserved bytes are not known, so they are not compared"))
        << run.err;

    sim.Store("150=3");
    run = RunCtl({"history", "restore", NewestOfKind("read"), "--port", sim.Device()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "its reserved bytes are not known, so it is restored from that "
                                  "file over what the unit holds"))
        << run.err;
    const std::vector<int> memory = sim.Memory();
    ASSERT_EQ(memory.size(), 200u);
    EXPECT_NE(memory[150], 3);
    EXPECT_EQ(memory[60], 1); // the unit's own reserved byte, as program FILE keeps it
}

// A Verify that stopped at the first differing page would list only page 1,
// and one comparing a file with the unit would list its reserved bytes.
TEST_F(CtlRestore, FailedVerifyListsEveryByteOfBothPages) {
    Simulator sim;
    ASSERT_EQ(RunCtl({"read", "--port", sim.Device(), "-o", ws.Path("r.ign")}).exitCode, 0);
    const std::vector<int> memory = sim.Store("60=1 13=100 150=3");
    ASSERT_EQ(memory[13], 100);

    const std::string limiter = "Miscellaneous: Limiter: ";
    const std::string mapCell = "Advance Map: Advance at TPS 30%, rpm point 1: 3 deg -> ";
    struct Case {
        QStringList args;
        std::vector<std::string> lines; // line beginnings, in order: reserved bytes last
    };
    const Case cases[] = {
        {{"history", "verify", "1"}, {limiter, mapCell, "Reserved byte 60: 1 -> 0"}},
        {{"verify", ws.Path("r.ign")}, {limiter, mapCell}},
    };
    for (const Case& c : cases) {
        const RunResult run = RunCtl(QStringList(c.args) << "--port" << sim.Device());
        const std::string name = c.args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 1) << name;
        const std::vector<std::string> found = DifferenceLines(run.err);
        ASSERT_EQ(found.size(), c.lines.size()) << name << ": " << run.err;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].rfind(c.lines[i], 0), 0u) << name << ": " << found[i];
        }
    }
}

// The read point names OUT only once OUT holds what was read.
TEST_F(CtlRestore, ReadToAnUnwritableOutputFailsAndItsPointNamesNoFile) {
    Simulator sim;
    const RunResult run =
        RunCtl({"read", "--port", sim.Device(), "-o", ws.Path("no-folder/out.ign")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "Open file error!")) << run.err;
    const std::vector<std::string> lines = Lines(RunCtl({"history"}).out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(Contains(lines[0], "\tread\t")) << lines[0];
    EXPECT_FALSE(Contains(lines[0], "out.ign")) << lines[0];
    EXPECT_EQ(lines[0].substr(lines[0].size() - 2), "\t-") << lines[0];
}

// A damaged index line is kept, not dropped, and a point file the index
// lost is listed again; the listing says both.
TEST_F(CtlRestore, HistorySaysWhatItKeptAndListedAgain) {
    Simulator sim;
    ASSERT_EQ(RunCtl({"read", "--port", sim.Device(), "-o", ws.Path("r.ign")}).exitCode, 0);
    const QString index = HistoryFolder(ws) + "/index";
    std::string text = ws.Read("data/orna5/history/index");
    ASSERT_FALSE(text.empty());
    ws.Write("data/orna5/history/index", text + "orna5-restore-77\tdamaged\n");
    RunResult run = RunCtl({"history"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 1u) << run.out;
    EXPECT_TRUE(Contains(run.err, "1 damaged")) << run.err;
    EXPECT_TRUE(Contains(run.err, "kept as they are, not dropped")) << run.err;
    EXPECT_TRUE(Contains(ws.Read("data/orna5/history/index"), "damaged"));

    ASSERT_TRUE(QFile::remove(index));
    run = RunCtl({"history"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 1u) << run.out;
    EXPECT_TRUE(Contains(run.err, "1 restore point file(s) the index lacked are listed again"))
        << run.err;
}

} // namespace
} // namespace orna5::e2e
