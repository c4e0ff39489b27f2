#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;

namespace orna5 {

// The About window: the program's title, a logo, who we are, the version and
// when this program was built. Created hidden with the main window and shown
// modally on demand; the "OK" label, the close box and Escape hide it again.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 350;
    static constexpr int kHeight = 454;

    explicit TFormAbout(QWidget* parent = nullptr);

    // Sets the caption of the language (none for Czech: the caption stays as
    // it was) and shows the window modally without holding up the caller.
    void ShowModal(std::uint8_t languageIndex);

    // The build date ("Oct  2 2006") and time ("07:05:40") as the compiler
    // recorded them.
    static QString BuildDate();
    static QString BuildTime();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormActivate(std::uint8_t languageIndex);
    void Button1Click();
    QLabel* AddLabel(const QString& name, const QString& text, int pixelSize);
};

} // namespace orna5
