// The File and Help commands as a user gives them: the dialogs typed into,
// the question answered, the message boxes read.

#include "WindowFixture.h"

#include "app/form/FormAbout.h"
#include "files/ParameterFile.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <csignal>
#include <sstream>
#include <sys/resource.h>

namespace orna5::test {

namespace {

class WindowFilesTest : public WindowTest {
protected:
    std::unique_ptr<TFormHlav> StartShown(StartOptions options = {}) {
        options.simulate = true;
        auto window = std::make_unique<TFormHlav>(options);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    // Chooses a file in the open or save dialog: pastes the path into its
    // file-name field (typing it letter by letter would race the field's
    // completion) and presses Enter.
    static void TypeIntoDialog(TFormHlav& window, const char* dialogName, const QString& path) {
        auto* dialog = window.findChild<QFileDialog*>(dialogName);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->isVisible(); }, 2000));
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->selectAll();
        name->insert(path);
        // The first Enter may only close the completion list under the field.
        for (int i = 0; i < 2 && dialog->isVisible(); ++i)
            QTest::keyClick(name, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible()) << name->text().toStdString();
    }
    static void Command(TFormHlav& window, const char* action) {
        window.findChild<QAction*>(action)->trigger();
    }
    static QString FileLabel(TFormHlav& window) {
        return Find<QLabel>(window, "LabelFile2")->text();
    }
    static QMessageBox* Box(TFormHlav& window, const char* name) {
        QMessageBox* box = nullptr;
        (void)QTest::qWaitFor(
            [&] {
                box = window.findChild<QMessageBox*>(name);
                return box && box->isVisible();
            },
            2000);
        return box;
    }
    static void Dismiss(QMessageBox* box) {
        if (box)
            box->button(QMessageBox::Ok)->click();
    }
    static void WriteFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray FileWithCell(int value) {
        ParameterImage image = DefaultImage();
        image[MapCell(9, 4)] = static_cast<std::uint8_t>(value);
        std::ostringstream text;
        WriteParameterFile(text, image);
        return QByteArray::fromStdString(text.str());
    }

    QTemporaryDir dir;
};

TEST_F(WindowFilesTest, NewAnsweredOtherThanYesChangesNothing) {
    auto window = StartShown();
    Enter(*window, "Edit144", "33");
    Find<QLabel>(*window, "LabelFile2")->setText("/tmp/tune.ign");
    const ParameterImage before = window->Image();
    const auto undoBefore = window->Undo().Current();
    for (int answer : {0, 1, 2}) { // No, Cancel, Escape
        window->activateWindow();  // back from the previous box
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
        QMessageBox* box = Box(*window, "ConfirmDefaultsBox");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Do you want default setting?");
        if (answer == 0)
            box->button(QMessageBox::No)->click();
        else if (answer == 1)
            box->button(QMessageBox::Cancel)->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
        QTest::qWait(0);
        EXPECT_EQ(window->Image(), before) << answer;
        EXPECT_EQ(window->Undo().Current(), undoBefore) << answer;
        EXPECT_EQ(FileLabel(*window), "/tmp/tune.ign") << answer;
    }
    // Yes: the model's defaults, one undo step, no file name.
    MouseClick(Find<QToolButton>(*window, "SpeedButton6"));
    Box(*window, "ConfirmDefaultsBox")->button(QMessageBox::Yes)->click();
    EXPECT_EQ(window->Image()[MapCell(9, 4)], DefaultImage()[MapCell(9, 4)]);
    EXPECT_EQ(window->Image()[field::bikeCode], before[field::bikeCode]);
    EXPECT_NE(window->Undo().Current(), undoBefore);
    EXPECT_TRUE(FileLabel(*window).isEmpty());
}

TEST_F(WindowFilesTest, OpenOfAFileWithoutTheMagicLineChangesNothing) {
    auto window = StartShown();
    Enter(*window, "Edit144", "33");
    const ParameterImage before = window->Image();
    const auto undoBefore = window->Undo().Current();
    const QString path = dir.filePath("notes.ign");
    WriteFile(path, "BIKE 3\r\nADVANCE 1 2 3\r\n");
    QTest::keyClick(window.get(), Qt::Key_F3);
    TypeIntoDialog(*window, "OpenDialog1", path);
    QMessageBox* box = Box(*window, "UnmatchedFileVersionBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Unmatched version of *.ign file!");
    Dismiss(box);
    EXPECT_EQ(window->Image(), before);
    EXPECT_EQ(window->Undo().Current(), undoBefore);
    EXPECT_TRUE(FileLabel(*window).isEmpty());
}

TEST_F(WindowFilesTest, SaveThenOpenGivesTheSameImage) {
    auto window = StartShown();
    Enter(*window, "Edit144", "33");
    const ParameterImage saved = window->Image();
    const auto undoAtSave = window->Undo().Current();
    Command(*window, "MenuSave");
    TypeIntoDialog(*window, "SaveDialog1", dir.filePath("tune")); // the extension is added
    const QString path = dir.filePath("tune.ign");
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileLabel(*window) == path; }, 2000));
    EXPECT_EQ(window->Undo().Current(), undoAtSave); // saving is no change

    Enter(*window, "Edit144", "12");
    const auto undoBefore = window->Undo().Current();
    Find<QLabel>(*window, "LabelFile2")->clear();
    MouseClick(Find<QToolButton>(*window, "SpeedButton5"));
    // The dialog starts on the last file.
    auto* dialog = window->findChild<QFileDialog*>("OpenDialog1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->isVisible(); }, 2000));
    EXPECT_EQ(dialog->selectedFiles().value(0), path);
    QTest::keyClick(dialog->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileLabel(*window) == path; }, 2000));
    EXPECT_EQ(window->Image(), saved);
    EXPECT_EQ(Edit(*window, "Edit144")->text(), "33");
    EXPECT_NE(window->Undo().Current(), undoBefore); // opening can be undone
}

// A path typed letter by letter, as a user types it, until the completion
// list drops down: Enter opens the file and takes the whole dialog down, the
// list with it, and the window's keys work again.
TEST_F(WindowFilesTest, EnterOnTheCompletionListClosesTheWholeDialog) {
    auto window = StartShown();
    const QString folder = dir.filePath("tunes with space");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/track.ign";
    WriteFile(path, FileWithCell(44));
    QTest::keyClick(window->windowHandle(), Qt::Key_F3);
    QFileDialog* dialog = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            dialog = window->findChild<QFileDialog*>("OpenDialog1");
            return dialog && dialog->isVisible();
        },
        2000));
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    ASSERT_NE(name->completer(), nullptr);
    QAbstractItemView* list = name->completer()->popup();
    name->clear();
    QTest::keyClicks(name, folder + "/tr");
    // The list comes once the folder has been read; a letter typed again
    // asks for it anew in case the reading ended before the typing.
    for (int i = 0; i < 50 && !QTest::qWaitFor([&] { return list->isVisible(); }, 100); ++i) {
        QTest::keyClick(name, Qt::Key_Backspace);
        QTest::keyClick(name, Qt::Key_R);
    }
    QTest::keyClicks(name, "ack.ign");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }, 2000));
    // The keys go where the keyboard sends them: to the list while it shows.
    QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileLabel(*window) == path; }, 2000));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(window->Image()[MapCell(9, 4)], 44);

    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }, 2000));
    QTest::keyClick(window->windowHandle(), Qt::Key_F2);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            auto* save = window->findChild<QFileDialog*>("SaveDialog1");
            return save && save->isVisible();
        },
        2000));
}

// The disk takes only part of the new file: the old one stays byte for byte,
// and the file name shown does not move to it.
TEST_F(WindowFilesTest, SaveThatCannotWriteKeepsTheOldFileAndTheLabel) {
    auto window = StartShown();
    const QString path = dir.filePath("old.ign");
    WriteFile(path, "the old file");
    Find<QLabel>(*window, "LabelFile2")->setText("/tmp/current.ign");
    Command(*window, "MenuSave");
    // The save dialog asks before replacing a file; the user says yes.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                yes->click();
    });
    answer.start(20);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    TypeIntoDialog(*window, "SaveDialog1", path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    answer.stop();

    QMessageBox* box = Box(*window, "OpenFileErrorBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith("Open file error!\n\n" + path + ": "))
        << box->text().toStdString();
    Dismiss(box);
    EXPECT_EQ(ReadFile(path), "the old file");
    EXPECT_EQ(FileLabel(*window), "/tmp/current.ign");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.ign"});
}

TEST_F(WindowFilesTest, FileOnTheCommandLineOpensAfterStart) {
    const QString path = dir.filePath("tune.ign");
    WriteFile(path, FileWithCell(44));
    StartOptions options;
    options.arguments = {"DEUTSCH", path};
    options.file = path;
    auto window = StartShown(options);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileLabel(*window) == path; }, 2000));
    EXPECT_EQ(window->Image()[MapCell(9, 4)], 44);
    EXPECT_EQ(window->LanguageIndex(), 1);
}

TEST_F(WindowFilesTest, FileOnTheCommandLineThatDoesNotOpenIsTold) {
    StartOptions options;
    options.file = dir.filePath("missing.ign");
    auto window = StartShown(options);
    QMessageBox* box = Box(*window, "OpenFileErrorBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith("Open file error!")) << box->text().toStdString();
    Dismiss(box);
}

TEST_F(WindowFilesTest, DroppedParameterFileOpens) {
    auto window = StartShown();
    const QString path = dir.filePath("dropped.ign");
    WriteFile(path, FileWithCell(17));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QWidget* target = Edit(*window, "EditOmez2"); // a field does not take the path as text
    const QPoint at(4, 4);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileLabel(*window) == path; }, 2000));
    EXPECT_EQ(window->Image()[MapCell(9, 4)], 17);
    EXPECT_NE(Edit(*window, "EditOmez2")->text(), path);
}

TEST_F(WindowFilesTest, AboutShowsTheBuildAndTheCaptionOfTheLanguage) {
    auto window = StartShown();
    auto* about = window->findChild<TFormAbout*>("FormAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(about->size(), QSize(350, 454));
    Command(*window, "MenuGerman");
    Command(*window, "MenuAbout");
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(about->isModal());
    EXPECT_EQ(about->windowTitle(), "Über Programm ORNA-");
    const QString date = Find<QLabel>(*window, "LabelDate")->text();
    EXPECT_TRUE(QRegularExpression("^[A-Z][a-z]{2} [ 123]\\d \\d{4}$").match(date).hasMatch())
        << date.toStdString();
    EXPECT_EQ(date, TFormAbout::BuildDate());
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$")
                    .match(Find<QLabel>(*window, "LabelTime")->text())
                    .hasMatch());
    EXPECT_TRUE(Find<QLabel>(*window, "LabelProgramVersion")->text().contains(ORNA5_VERSION));
    // The "OK" label closes it; so does Escape.
    QTest::mouseClick(Find<QLabel>(*window, "LabelExit"), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    Command(*window, "MenuCzech");
    Command(*window, "MenuAbout");
    EXPECT_EQ(about->windowTitle(), "Über Programm ORNA-"); // Czech sets none
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
}

// A stand-in for the desktop's viewer.
class ViewerSpy : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { opened << url.toLocalFile(); }

public:
    QStringList opened;
};

TEST_F(WindowFilesTest, ContentsOpensTheManualOfTheLanguageFromTheWorkingOrInstalledFolder) {
    ViewerSpy viewer;
    QDesktopServices::setUrlHandler("file", &viewer, "Open");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    WriteFile(dir.filePath("manual_zentor_orna_5_de.pdf"), "%PDF");
    auto window = StartShown();
    QTest::keyClick(window.get(), Qt::Key_F1); // English: not there
    QMessageBox* box = Box(*window, "ManualOpenErrorBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Error by opening file manual_zentor_orna_5_en.pdf !");
    Dismiss(box);
    Command(*window, "MenuGerman");
    Command(*window, "MenuContens");
    // Not in the working folder: the documentation installed beside the
    // program.
    const QString installed =
        QDir(QCoreApplication::applicationDirPath() + "/../share/doc/orna5").absolutePath();
    QDir().mkpath(installed);
    WriteFile(installed + "/manual_zentor_orna_5_fr.pdf", "%PDF");
    Command(*window, "MenuFrench");
    Command(*window, "MenuContens");
    // Only what the test made goes; folders only when left empty.
    QFile::remove(installed + "/manual_zentor_orna_5_fr.pdf");
    QDir().rmpath(installed);
    QDir::setCurrent(previous);
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(viewer.opened, (QStringList{dir.filePath("manual_zentor_orna_5_de.pdf"),
                                          installed + "/manual_zentor_orna_5_fr.pdf"}));
}

} // namespace

} // namespace orna5::test

#include "WindowFilesTest.moc"
