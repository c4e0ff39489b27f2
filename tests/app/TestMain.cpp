// The window tests need a QApplication; the locale is fixed so that digit
// grouping does not depend on the machine (Czech groups with a no-break
// space), and the settings and the history go to temporary folders.

#include "WindowFixture.h"

#include "disk/HistoryStore.h"
#include "files/ParameterSnapshot.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QToolButton>

#include <sstream>

namespace orna5::test {

void WindowTest::SetUp() {
    QDir(TFormHlav::ConfigDirectory()).removeRecursively();
    QDir(HistoryStore::DefaultFolder()).removeRecursively();
    QFile::remove(HistoryStore::DefaultFolder()); // a test's stand-in for an unwritable one
    QDir().mkpath(TFormHlav::ConfigDirectory());
}

void WindowTest::TearDown() {
    QDir(TFormHlav::ConfigDirectory()).removeRecursively();
}

std::unique_ptr<TFormHlav> WindowTest::Start(const QStringList& arguments, bool simulate) {
    StartOptions options;
    options.arguments = arguments;
    options.simulate = simulate;
    return std::make_unique<TFormHlav>(options);
}

void WindowTest::Close(std::unique_ptr<TFormHlav>& window) {
    window->close();
    window.reset();
}

QString WindowTest::ConfigFile(const QString& name) {
    return TFormHlav::ConfigDirectory() + "/" + name;
}

void WindowTest::WriteConfig(const QString& name, const QByteArray& text) {
    QFile file(ConfigFile(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray WindowTest::ReadConfig(const QString& name) {
    QFile file(ConfigFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WindowTest::WriteSnapshot(const ParameterImage& image, std::size_t count) {
    if (count == kImageSize) {
        std::ostringstream text;
        WriteParameterSnapshot(text, image);
        WriteConfig("_orna5.ini", QByteArray::fromStdString(text.str()));
        return;
    }
    QByteArray text;
    for (std::size_t i = 0; i < count; ++i)
        text += QByteArray::number(image[i]) + (i % 10 == 9 ? "\n" : " ");
    WriteConfig("_orna5.ini", text);
}

void WindowTest::Enter(TFormHlav& window, const QString& edit, const QString& text) {
    QLineEdit* field = Edit(window, edit);
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

void WindowTest::ClickUpDown(TFormHlav& window, const QString& name, bool up) {
    UpDown* upDown = Spin(window, name);
    ASSERT_NE(upDown, nullptr);
    MouseClick(up ? upDown->UpButton() : upDown->DownButton());
}

void WindowTest::MouseClick(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, widget->height() / 2));
}

ParameterImage WindowTest::DefaultImage() {
    QDir(TFormHlav::ConfigDirectory()).removeRecursively();
    StartOptions options;
    options.simulate = true;
    TFormHlav window(options);
    return window.Image();
}

} // namespace orna5::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    // The restore points the window keeps go there too, never to the user's.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
