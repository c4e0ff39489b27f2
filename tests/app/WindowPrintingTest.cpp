// Printing into a PDF file: how many sheets, in which order, and the window
// as it was afterwards, also after a failed print.

#include "WindowFixture.h"

#include "app/widgets/MouseCheckBox.h"
#include "device/DeviceSession.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace orna5::test {

namespace {

// The sheets of a PDF file written by the print routine.
int SheetCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    int count = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0;
         at = pdf.indexOf("/Type /Page", at + 1))
        if (pdf.mid(at + 11, 1) != "s")
            ++count;
    return count;
}

// Chooses `path` in the PDF save dialog.
void SavePdfAs(const QString& path) {
    WhenModal<QFileDialog>("SavePdfDialog", [path](QFileDialog* dialog) {
        // Typed as the user would: selectFile() races with the dialog's
        // folder listing, which puts the suggested name back.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(path);
        // Through QDialog, where accepting is public.
        static_cast<QDialog*>(dialog)->accept();
    });
}

} // namespace

class PrintingTest : public WindowTest {
protected:
    std::unique_ptr<TFormHlav> StartShown(const QStringList& arguments = {}) {
        auto window = Start(arguments);
        window->show();
        return window;
    }
    bool Print(TFormHlav& window, bool allPages, const QString& path) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return window.PrintPages(printer, allPages).allAccepted;
    }
    static QTabWidget* Pages(TFormHlav& window) { return Find<QTabWidget>(window, "PageControl1"); }
    // The window as it is when nobody prints.
    static void ExpectNormalAppearance(TFormHlav& window) {
        EXPECT_NE(window.palette().color(QPalette::Window), QColor(Qt::white));
        EXPECT_FALSE(window.Session().Display().PrintingInProgress());
        for (const char* name : {"GroupBoxToolBar", "StatusBar1", "CheckBoxProgHned", "UpDown145",
                                 "UpDownOmez2", "BitBtnAdvPlus", "LabelMonSnimac1"})
            EXPECT_FALSE(Find<QWidget>(window, name)->isHidden()) << name;
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(Pages(window)->isTabVisible(i)) << i;
    }

    QTemporaryDir folder;
    QString pdfPath = folder.filePath("print.pdf");
};

TEST_F(PrintingTest, PrintGivesOneSheetOfTheShownPage) {
    auto window = StartShown();
    Pages(*window)->setCurrentIndex(3);
    QSignalSpy printed(window.get(), &TFormHlav::PagePrinted);
    ASSERT_TRUE(Print(*window, false, pdfPath));
    EXPECT_EQ(SheetCount(pdfPath), 1);
    ASSERT_EQ(printed.size(), 1);
    EXPECT_EQ(printed[0][0].toString(), "TabSheetServo");
    EXPECT_EQ(Pages(*window)->currentIndex(), 3);
}

TEST_F(PrintingTest, PrintAllGivesFourSheetsInPageOrderAndKeepsTheShownPage) {
    auto window = StartShown();
    Pages(*window)->setCurrentIndex(2);
    QStringList printed;
    QObject::connect(window.get(), &TFormHlav::PagePrinted, [&](const QString& page) {
        // The page printed is the only tab.
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Pages(*window)->isTabVisible(i),
                      Pages(*window)->widget(i)->objectName() == page);
        printed.append(page);
    });
    ASSERT_TRUE(Print(*window, true, pdfPath));
    EXPECT_EQ(SheetCount(pdfPath), 4);
    EXPECT_EQ(printed,
              QStringList({"TabSheetRuzne", "TabSheetBike", "TabSheetAdvance", "TabSheetServo"}));
    EXPECT_EQ(Pages(*window)->currentIndex(), 2);
    ExpectNormalAppearance(*window);
}

TEST_F(PrintingTest, AfterPrintingTheHeaderLineStaysInTheNormalAppearance) {
    auto window = StartShown();
    Find<MouseCheckBox>(*window, "CheckBoxTpsMapa")->setChecked(true);
    ASSERT_TRUE(Print(*window, false, pdfPath));
    ExpectNormalAppearance(*window);
    auto* status = Find<QLabel>(*window, "LabelHlaseni");
    const QString header = status->text();
    EXPECT_TRUE(header.startsWith("Date and time of printing:  ")) << header.toStdString();
    // The next tick keeps it up.
    QSignalSpy ticks(window.get(), &TFormHlav::TickDone);
    ASSERT_TRUE(ticks.wait(2000));
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->text(), header);
    EXPECT_GT(window->Session().Display().StatusTicks(), 190);
}

TEST_F(PrintingTest, FailingPrintRestoresTheNormalAppearance) {
    auto window = StartShown();
    Pages(*window)->setCurrentIndex(1);
    EXPECT_FALSE(Print(*window, true, folder.filePath("missing/print.pdf")));
    EXPECT_EQ(Pages(*window)->currentIndex(), 1);
    ExpectNormalAppearance(*window);
}

// A print that put no page anywhere says so in the window's language and
// leaves no date-and-time line behind, as if it had printed.
TEST_F(PrintingTest, APrintThatFailedSaysSoAndKeepsNoPrintedTime) {
    auto window = StartShown({"DEUTSCH"});
    auto* status = Find<QLabel>(*window, "LabelHlaseni");
    const QString shown = status->isVisible() ? status->text() : QString();
    SavePdfAs(folder.filePath("missing/print.pdf"));
    Find<QAction>(*window, "MenuExportPdf")->trigger();
    auto* box = window->findChild<QMessageBox*>("PrintErrorBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith("Druckfehler!\n\n")) << box->text().toStdString();
    EXPECT_EQ(status->isVisible() ? status->text() : QString(), shown);
    ExpectNormalAppearance(*window);
}

TEST_F(PrintingTest, WithoutAPrinterPrintOffersAPdfFile) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a printer";
    auto window = StartShown();
    WhenModal<QMessageBox>("NoPrinterBox", [](QMessageBox* box) {
        EXPECT_EQ(box->text().toStdString(),
                  "No printer is installed. Save the printout as a PDF file?");
        box->button(QMessageBox::Yes)->click();
    });
    // The path is chosen once the dialog is up.
    SavePdfAs(pdfPath);
    MouseClick(Find<QWidget>(*window, "SpeedButtonPrint"));
    EXPECT_EQ(SheetCount(pdfPath), 1);
    ExpectNormalAppearance(*window);
}

TEST_F(PrintingTest, ExportPdfWritesAllFourPages) {
    auto window = StartShown();
    SavePdfAs(pdfPath);
    Find<QAction>(*window, "MenuExportPdf")->trigger();
    EXPECT_EQ(SheetCount(pdfPath), 4);
    ExpectNormalAppearance(*window);
}

} // namespace orna5::test
