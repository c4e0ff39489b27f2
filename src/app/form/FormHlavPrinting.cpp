// Printing: a picture of the window's client area in a print appearance
// (white, without what only editing needs, with a date-and-time line), on
// the default printer or, where there is none, into a PDF file.

#include "app/FileDialog.h"
#include "app/form/FormHlav.h"
#include "device/DeviceSession.h"
#include "lang/ControlTexts.h"
#include "lang/Messages.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace orna5 {

namespace {

// The picture keeps its proportions and fills the page in one direction.
QSize FitToPage(const QSize& picture, const QSize& page) {
    const qint64 width = qint64(picture.width()) * page.height() / picture.height();
    if (width < page.width())
        return {int(width), page.height()};
    return {page.width(), int(qint64(picture.height()) * page.width() / picture.width())};
}

} // namespace

void TFormHlav::ConnectPrinting() {
    BindCommand(MenuPrint, SpeedButtonPrint, &TFormHlav::SpeedButtonPrintClick);
    connect(MenuPrintAll, &QAction::triggered, this, &TFormHlav::MenuPrintAllClick);
    connect(MenuExportPdf, &QAction::triggered, this, &TFormHlav::MenuExportPdfClick);
}

void TFormHlav::SpeedButtonPrintClick() {
    PrintOnDefaultPrinter(false);
}

void TFormHlav::MenuPrintAllClick() {
    PrintOnDefaultPrinter(true);
}

// A tune sheet to mail: every page, without asking for a printer.
void TFormHlav::MenuExportPdfClick() {
    ExportPdf(true);
}

// Without a printer the user still gets the printout, as a PDF file.
void TFormHlav::PrintOnDefaultPrinter(bool allPages) {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        QMessageBox box(QMessageBox::Question, windowTitle(),
                        QString::fromStdString(TextIn(Msg::NoPrinterSavePdf, languageIndex)),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setObjectName("NoPrinterBox");
        box.setDefaultButton(QMessageBox::Yes);
        if (box.exec() == QMessageBox::Yes)
            ExportPdf(allPages);
        return;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!PrintPages(printer, allPages))
        ShowMessage(QString::fromStdString(TextIn(Msg::PrintError, languageIndex)) + "\n\n" +
                        printerInfo.printerName(),
                    "PrintErrorBox");
}

void TFormHlav::ExportPdf(bool allPages) {
    // Next to the parameter file, named after it, when there is one.
    const QFileInfo parameterFile(lastFilePath);
    const QString suggestion =
        lastFilePath.isEmpty()
            ? QDir::home().filePath("orna5.pdf")
            : parameterFile.dir().filePath(parameterFile.completeBaseName() + ".pdf");
    QString title = MenuExportPdf->text();
    title.remove('&').remove("...");
    const QString path = ChooseFile(
        this,
        {"SavePdfDialog", title, QFileDialog::AcceptSave, {"PDF (*.pdf)"}, "pdf", suggestion});
    if (path.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(windowTitle());
    printer.setCreator(QCoreApplication::applicationName());
    if (!PrintPages(printer, allPages))
        ShowMessage(QString::fromStdString(TextIn(Msg::PrintError, languageIndex)) + "\n\n" +
                        QDir::toNativeSeparators(path),
                    "PrintErrorBox");
}

bool TFormHlav::PrintPages(QPrinter& printer, bool allPages) {
    // An edit being typed in is taken before its value goes on paper.
    BitBtnVerify->setFocus();
    PreparePrinting();
    const int shownPage = PageControl1->currentIndex();
    QList<int> pages;
    if (allPages) {
        // In page order.
        for (QWidget* page : {TabSheetRuzne, TabSheetBike, TabSheetAdvance, TabSheetServo})
            pages.append(PageControl1->indexOf(page));
    } else {
        pages.append(shownPage);
    }

    // A printer gets a job per page; a PDF file gets a sheet per page.
    const bool jobPerPage = printer.outputFormat() == QPrinter::NativeFormat;
    QPainter painter;
    bool ok = true;
    for (int n = 0; ok && n < pages.size(); ++n) {
        if (allPages) {
            // The page's tab is the only one, so the picture shows which
            // page it is.
            for (int i = 0; i < PageControl1->count(); ++i)
                PageControl1->setTabVisible(i, i == pages[n]);
            PageControl1->setCurrentIndex(pages[n]);
            UpdateFormState();
        }
        ok = n == 0 || jobPerPage ? painter.begin(&printer) : printer.newPage();
        if (ok) {
            DrawClientArea(painter);
            emit PagePrinted(PageControl1->currentWidget()->objectName());
        }
        if (ok && jobPerPage)
            ok = painter.end();
    }
    if (painter.isActive() && !painter.end())
        ok = false;

    for (int i = 0; i < PageControl1->count(); ++i)
        PageControl1->setTabVisible(i, true);
    PageControl1->setCurrentIndex(shownPage);
    EndPrinting();
    return ok;
}

void TFormHlav::PreparePrinting() {
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    session->Display().ShowPrintHeader((locale.toString(now.date(), QLocale::ShortFormat) + "    " +
                                        locale.toString(now.time(), QLocale::LongFormat))
                                           .toStdString());
    RenderOperationDisplay();
    SetPrintingInProgress(true);
    LabelSpojeni->hide();
}

// The header line stays up for the status line's usual time.
void TFormHlav::EndPrinting() {
    SetPrintingInProgress(false);
    RenderOperationDisplay();
}

// The client area as the widgets paint it, at the top-left of the printable
// area; painted at up to four times the screen's resolution so that the text
// stays sharp on paper.
void TFormHlav::DrawClientArea(QPainter& painter) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget* area = centralWidget();
    const QSize size = area->size();
    const QSize printed =
        FitToPage(size, QSize(painter.device()->width(), painter.device()->height()));
    const qreal sharpness = std::clamp(qreal(printed.width()) / size.width(), 1.0, 4.0);
    QImage picture(size * sharpness, QImage::Format_RGB32);
    picture.setDevicePixelRatio(sharpness);
    picture.fill(Qt::white);
    area->render(&picture, QPoint(), QRegion(),
                 QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.drawImage(QRect(QPoint(0, 0), printed), picture);
}

} // namespace orna5
