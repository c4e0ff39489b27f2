// Printing: a picture of the window's client area in a print appearance
// (white, without what only editing needs, with a date-and-time line), on
// the default printer, on the printer the print dialog chose, or, where there
// is none, into a PDF file. A page counts as printed once the print system
// has taken its job.

#include "app/FileDialog.h"
#include "app/PrintSystem.h"
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
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>
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

bool Failed(QPrinter::PrinterState state) {
    return state == QPrinter::Error || state == QPrinter::Aborted;
}

// Where the pages went: the printer, or the file the print dialog chose.
QString Destination(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QDir::toNativeSeparators(printer.outputFileName());
    return printer.printerName();
}

} // namespace

void TFormHlav::ConnectPrinting() {
    BindCommand(MenuPrint, SpeedButtonPrint, &TFormHlav::SpeedButtonPrintClick);
    connect(MenuPrintAll, &QAction::triggered, this, &TFormHlav::MenuPrintAllClick);
    connect(MenuPrintDialog, &QAction::triggered, this, &TFormHlav::MenuPrintDialogClick);
    connect(MenuExportPdf, &QAction::triggered, this, &TFormHlav::MenuExportPdfClick);
}

void TFormHlav::SpeedButtonPrintClick() {
    PrintOnDefaultPrinter(false);
}

void TFormHlav::MenuPrintAllClick() {
    PrintOnDefaultPrinter(true);
}

// The system's print dialog: printer, copies, paper and which pages, the
// page that shows being the one offered.
void TFormHlav::MenuPrintDialogClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    printer.setCreator(QCoreApplication::applicationName());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("PrintDialog");
    dialog.setOptions(QAbstractPrintDialog::PrintCurrentPage |
                      QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintShowPageSize);
    const QList<int> order = PageOrder();
    dialog.setMinMax(1, int(order.size()));
    dialog.setPrintRange(QAbstractPrintDialog::CurrentPage);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QList<int> pages;
    switch (printer.printRange()) {
    case QPrinter::AllPages:
        pages = order;
        break;
    case QPrinter::PageRange:
        for (int n = std::max(printer.fromPage(), 1);
             n <= std::min(printer.toPage(), int(order.size())); ++n)
            pages.append(order[n - 1]);
        break;
    default:
        break;
    }
    PrintAndTell(printer, pages);
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
    printer.setCreator(QCoreApplication::applicationName());
    PrintAndTell(printer, allPages ? PageOrder() : QList<int>());
}

void TFormHlav::PrintAndTell(QPrinter& printer, const QList<int>& pages) {
    const PrintOutcome outcome = PrintPageList(printer, pages);
    const QString destination = Destination(printer);
    if (outcome.pagesAccepted == 1)
        StatusBar1->showMessage(
            QString::fromStdString(TextIn(Msg::PrintedOnePage, languageIndex)).arg(destination));
    else if (outcome.pagesAccepted > 1)
        StatusBar1->showMessage(QString::fromStdString(TextIn(Msg::PrintedPages, languageIndex))
                                    .arg(outcome.pagesAccepted)
                                    .arg(destination));
    if (!outcome.allAccepted)
        ShowMessage(QString::fromStdString(TextIn(Msg::PrintError, languageIndex)) + "\n\n" +
                        destination,
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
    if (!PrintPages(printer, allPages).allAccepted)
        ShowMessage(QString::fromStdString(TextIn(Msg::PrintError, languageIndex)) + "\n\n" +
                        QDir::toNativeSeparators(path),
                    "PrintErrorBox");
}

TFormHlav::PrintOutcome TFormHlav::PrintPages(QPrinter& printer, bool allPages) {
    return PrintPageList(printer, allPages ? PageOrder() : QList<int>());
}

QList<int> TFormHlav::PageOrder() const {
    QList<int> pages;
    for (QWidget* page : {TabSheetRuzne, TabSheetBike, TabSheetAdvance, TabSheetServo})
        pages.append(PageControl1->indexOf(page));
    return pages;
}

TFormHlav::PrintOutcome TFormHlav::PrintPageList(QPrinter& printer, const QList<int>& pages) {
    // An edit being typed in is taken before its value goes on paper.
    BitBtnVerify->setFocus();
    // What the status label showed, for a print no page of which was taken:
    // its date-and-time line would claim a printout there is not.
    const StatusDisplay before = session->Display();
    PreparePrinting();
    const int shownPage = PageControl1->currentIndex();
    const bool onePageAsShown = pages.isEmpty();
    const int count = onePageAsShown ? 1 : int(pages.size());

    // A printer gets a job per page, each judged on its own; a PDF file gets
    // a sheet per page, taken only when the file is closed.
    const bool jobPerPage = printer.outputFormat() == QPrinter::NativeFormat;
    QPainter painter;
    PrintOutcome outcome;
    bool ok = true;
    for (int n = 0; ok && n < count; ++n) {
        if (!onePageAsShown) {
            // The page's tab is the only one, so the picture shows which
            // page it is.
            for (int i = 0; i < PageControl1->count(); ++i)
                PageControl1->setTabVisible(i, i == pages[n]);
            PageControl1->setCurrentIndex(pages[n]);
            UpdateFormState();
        }
        if (jobPerPage) {
            PrintJobFacts job;
            job.queue = PrintSystem::AskQueue(printer.printerName());
            if (WorthSending(job.queue) && painter.begin(&printer)) {
                DrawClientArea(painter);
                job.painterEnded = painter.end();
                job.printerFailed = Failed(printer.printerState());
                job.createStatus = PrintSystem::LastStatus();
            }
            ok = JobAccepted(job);
        } else {
            ok = n == 0 ? painter.begin(&printer) : printer.newPage();
            if (ok)
                DrawClientArea(painter);
        }
        if (ok) {
            ++outcome.pagesAccepted;
            emit PagePrinted(PageControl1->currentWidget()->objectName());
        }
    }
    if (painter.isActive() && (!painter.end() || Failed(printer.printerState()))) {
        // The file is not written whole: none of its sheets is there.
        ok = false;
        outcome.pagesAccepted = 0;
    }
    outcome.allAccepted = ok;

    for (int i = 0; i < PageControl1->count(); ++i)
        PageControl1->setTabVisible(i, true);
    PageControl1->setCurrentIndex(shownPage);
    if (outcome.pagesAccepted == 0)
        session->Display() = before;
    EndPrinting();
    return outcome;
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
