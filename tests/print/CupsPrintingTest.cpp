// The window's printing on a real print system: a CUPS scheduler of the
// test's own (its configuration, spool and socket in a temporary folder,
// reached through CUPS_SERVER), with a cups-pdf queue "PDF" as the default
// printer. The queue is stopped: it takes jobs and holds them, so the test
// counts the jobs it took and cups-pdf writes no file outside the folder.

#include "WindowFixture.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>

#include <cups/cups.h>

#include <memory>

namespace orna5::test {

namespace {

constexpr char kPpd[] = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
constexpr char kBackend[] = "/usr/lib/cups/backend/cups-pdf";

QString Program(const QString& name) {
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"});
}

class PrivateCups {
public:
    // Empty when it runs; otherwise why not. Programs missing: `installed`
    // is false.
    QString Start(bool& installed) {
        const QStringList tools = {"cupsd", "lpadmin", "cupsreject", "cupsaccept", "cupsdisable"};
        installed = QFileInfo::exists(kPpd) && QFileInfo::exists(kBackend);
        for (const QString& tool : tools)
            installed = installed && !Program(tool).isEmpty();
        if (!installed)
            return "CUPS with cups-pdf is not installed";
        if (!folder.isValid())
            return "no temporary folder";
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadGroup |
                                                 QFile::ExeGroup | QFile::ReadOther |
                                                 QFile::ExeOther);
        const QString root = folder.path();
        for (const char* sub : {"spool", "tmp", "cache", "state", "log"})
            QDir(root).mkpath(sub);
        socket = root + "/cups.sock";
        Write("cups-files.conf", QString("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\n"
                                         "CacheDir %1/cache\nStateDir %1/state\n"
                                         "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                                         "PageLog %1/log/page_log\nServerBin /usr/lib/cups\n"
                                         "DataDir /usr/share/cups\nSystemGroup root\n")
                                     .arg(root));
        // Anyone on the socket may do anything: it is the test's own.
        Write("cupsd.conf", QString("Listen %1\nLogLevel warn\nBrowsing No\nWebInterface No\n"
                                    "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                    "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                    "  </Limit>\n</Policy>\n")
                                .arg(socket));
        qputenv("CUPS_SERVER", socket.toLocal8Bit());
        cupsSetServer(socket.toLocal8Bit().constData());

        scheduler.setProcessChannelMode(QProcess::MergedChannels);
        scheduler.start(Program("cupsd"),
                        {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
        if (!scheduler.waitForStarted())
            return "cupsd did not start";
        // Ready once it answers on its socket.
        bool answers = false;
        for (int tries = 0; tries < 600 && !answers; ++tries) {
            if (scheduler.state() != QProcess::Running)
                return "cupsd ended: " + QString::fromLocal8Bit(scheduler.readAll());
            if (QFileInfo::exists(socket)) {
                http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                            HTTP_ENCRYPTION_IF_REQUESTED, 1, 1000, nullptr);
                answers = http != nullptr;
                httpClose(http);
            }
            if (!answers)
                QThread::msleep(50);
        }
        if (!answers)
            return "cupsd does not answer on " + socket;
        if (!Run("lpadmin", {"-p", "PDF", "-E", "-v", "cups-pdf:/", "-P", kPpd}) ||
            !Run("lpadmin", {"-d", "PDF"}) || !Run("cupsdisable", {"PDF"}))
            return "the PDF queue could not be set up";
        return {};
    }

    ~PrivateCups() {
        if (scheduler.state() != QProcess::NotRunning) {
            scheduler.terminate();
            if (!scheduler.waitForFinished(10000))
                scheduler.kill();
            scheduler.waitForFinished();
        }
    }

    bool Run(const QString& tool, const QStringList& arguments) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(Program(tool), arguments);
        const bool ok = process.waitForFinished(60000) &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (!ok)
            ADD_FAILURE() << tool.toStdString() << ": " << process.readAll().toStdString();
        return ok;
    }

    // The jobs the queue holds, whatever their state.
    int Jobs() const {
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, "PDF", 0, CUPS_WHICHJOBS_ALL);
        cupsFreeJobs(count, jobs);
        return count;
    }

private:
    void Write(const QString& name, const QString& text) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toLocal8Bit());
    }

    QTemporaryDir folder;
    QString socket;
    QProcess scheduler;
};

} // namespace

class CupsPrintingTest : public WindowTest {
protected:
    static void SetUpTestSuite() {
        cups = new PrivateCups;
        why = cups->Start(installed);
    }
    static void TearDownTestSuite() {
        delete cups;
        cups = nullptr;
    }
    void SetUp() override {
        if (!installed)
            GTEST_SKIP() << why.toStdString();
        ASSERT_TRUE(why.isEmpty()) << why.toStdString();
        WindowTest::SetUp();
    }
    std::unique_ptr<TFormHlav> StartShown(const QStringList& arguments = {}) {
        auto window = Start(arguments);
        window->show();
        return window;
    }
    // What the status label shows: nothing while it is hidden.
    static QString Shown(QLabel* label) { return label->isVisible() ? label->text() : QString(); }
    static QString StatusBarText(TFormHlav& window) {
        return Find<QStatusBar>(window, "StatusBar1")->currentMessage();
    }

    static inline PrivateCups* cups = nullptr;
    static inline QString why;
    static inline bool installed = false;
};

TEST_F(CupsPrintingTest, PrintMakesOneJobPrintAllFourAndTheDialogPrintsThePageShown) {
    ASSERT_EQ(QPrinterInfo::defaultPrinter().printerName(), "PDF");
    auto window = StartShown();
    auto* status = Find<QLabel>(*window, "LabelHlaseni");
    const int before = cups->Jobs();

    MouseClick(Find<QWidget>(*window, "SpeedButtonPrint"));
    EXPECT_EQ(cups->Jobs(), before + 1);
    EXPECT_EQ(StatusBarText(*window), "Printed 1 page on PDF");
    EXPECT_TRUE(status->text().startsWith("Date and time of printing:  "));

    Find<QAction>(*window, "MenuPrintAll")->trigger();
    EXPECT_EQ(cups->Jobs(), before + 5);
    EXPECT_EQ(StatusBarText(*window), "Printed 4 pages on PDF");

    WhenModal<QPrintDialog>("PrintDialog", [](QPrintDialog* dialog) { dialog->accept(); });
    Find<QAction>(*window, "MenuPrintDialog")->trigger();
    EXPECT_EQ(cups->Jobs(), before + 6);
    EXPECT_EQ(StatusBarText(*window), "Printed 1 page on PDF");
    EXPECT_EQ(window->findChild<QMessageBox*>("PrintErrorBox"), nullptr);
}

// A queue that refuses jobs, and one that is gone by the time the job goes:
// the print error in the window's language, no job, and the status label as
// it was before, without a date-and-time line of a printout there is not.
TEST_F(CupsPrintingTest, ARefusedJobGivesThePrintErrorAndKeepsNoPrintedTime) {
    auto window = StartShown({"DEUTSCH"});
    auto* status = Find<QLabel>(*window, "LabelHlaseni");
    const QString shown = Shown(status);
    const int before = cups->Jobs();

    ASSERT_TRUE(cups->Run("cupsreject", {"PDF"}));
    for (const char* command : {"SpeedButtonPrint", "MenuPrintAll"}) {
        if (auto* action = window->findChild<QAction*>(command))
            action->trigger();
        else
            MouseClick(Find<QWidget>(*window, command));
        auto* box = window->findChild<QMessageBox*>("PrintErrorBox");
        ASSERT_NE(box, nullptr) << command;
        EXPECT_EQ(box->text(), "Druckfehler!\n\nPDF") << command;
        delete box;
        EXPECT_EQ(cups->Jobs(), before) << command;
        EXPECT_EQ(Shown(status), shown) << command;
        EXPECT_FALSE(StatusBarText(*window).contains("gedruckt")) << command;
    }
    ASSERT_TRUE(cups->Run("cupsaccept", {"PDF"}));

    // Gone between choosing the printer and printing.
    ASSERT_TRUE(cups->Run("lpadmin", {"-p", "Gone", "-E", "-v", "cups-pdf:/", "-P", kPpd}));
    QPrinter printer(QPrinterInfo::printerInfo("Gone"), QPrinter::HighResolution);
    ASSERT_EQ(printer.printerName(), "Gone");
    ASSERT_TRUE(cups->Run("lpadmin", {"-x", "Gone"}));
    const TFormHlav::PrintOutcome outcome = window->PrintPages(printer, true);
    EXPECT_FALSE(outcome.allAccepted);
    EXPECT_EQ(outcome.pagesAccepted, 0);
    EXPECT_EQ(Shown(status), shown);
}

} // namespace orna5::test
