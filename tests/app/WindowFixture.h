#pragma once

#include "app/form/FormHlav.h"
#include "app/widgets/UpDown.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace orna5::test {

// Does `act` on the modal dialog named `name` once it is up.
template <class Dialog>
inline void WhenModal(const QString& name, std::function<void(Dialog*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, name, act, tries = 0]() mutable {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->objectName() == name) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        } else if (++tries > 1000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Every window test starts from an empty settings folder (XDG_CONFIG_HOME
// points at a temporary folder for the whole run) and builds the real window
// on the offscreen platform.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window as the program would start it. Without a port it runs on the
    // emulated unit, so no error box gets in the way.
    std::unique_ptr<TFormHlav> Start(const QStringList& arguments = {}, bool simulate = true);
    // Closes the window the way the user would (the settings are saved).
    void Close(std::unique_ptr<TFormHlav>& window);

    static QString ConfigFile(const QString& name);
    static void WriteConfig(const QString& name, const QByteArray& text);
    static QByteArray ReadConfig(const QString& name);
    static void WriteSnapshot(const ParameterImage& image, std::size_t count = kImageSize);

    template <class T> static T* Find(TFormHlav& window, const QString& name) {
        T* control = window.findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    static QLineEdit* Edit(TFormHlav& window, const QString& name) {
        return Find<QLineEdit>(window, name);
    }
    static UpDown* Spin(TFormHlav& window, const QString& name) {
        return Find<UpDown>(window, name);
    }
    // Types into an edit and presses Enter.
    static void Enter(TFormHlav& window, const QString& edit, const QString& text);
    // Clicks an up-down's upper or lower arrow.
    static void ClickUpDown(TFormHlav& window, const QString& name, bool up);
    static void MouseClick(QWidget* widget);

    // The image of a first start: the common defaults with model code 20.
    static ParameterImage DefaultImage();
};

} // namespace orna5::test
