// orna5-manual-pdf: turns one Markdown manual into a PDF at build time.
//
//   orna5-manual-pdf IN.md OUT.pdf [--version TEXT] [--title TEXT]
//
// Images are paths relative to IN.md; each is scaled down to the text width.
// "@VERSION@" in the text becomes the version given. Run it on the offscreen
// platform (QT_QPA_PLATFORM=offscreen): it needs fonts, not a screen.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>
#include <vector>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "orna5-manual-pdf: %s\n", qPrintable(message));
    return 1;
}

struct ImageUse {
    int position;
    int length;
    QTextImageFormat format;
};

// Loads every image the text names and fits it into the text width, keeping
// its proportions. A missing image is an error: a manual must not ship with
// holes where its pictures should be.
bool LoadImages(QTextDocument& document, const QString& folder, qreal textWidth, QString& error) {
    std::vector<ImageUse> uses;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isImageFormat())
                uses.push_back({fragment.position(), fragment.length(),
                                fragment.charFormat().toImageFormat()});
        }
    }
    for (ImageUse& use : uses) {
        const QString name = use.format.name();
        const QImage image(QFileInfo(folder + "/" + name).absoluteFilePath());
        if (image.isNull()) {
            error = "cannot read image " + name;
            return false;
        }
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        const qreal scale = image.width() > textWidth ? textWidth / image.width() : 1.0;
        use.format.setWidth(image.width() * scale);
        use.format.setHeight(image.height() * scale);
        QTextCursor cursor(&document);
        cursor.setPosition(use.position);
        cursor.setPosition(use.position + use.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(use.format);
    }
    return true;
}

bool HoldsImage(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            return true;
    return false;
}

// A heading followed by a picture starts a new sheet, together with the
// headings right above it, so that none stays behind alone at the foot of the
// sheet before.
void KeepHeadingsWithPictures(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || !HoldsImage(block.next()))
            continue;
        QTextBlock first = block;
        while (first.previous().isValid() && first.previous().blockFormat().headingLevel() > 0)
            first = first.previous();
        QTextBlockFormat format = first.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(first).setBlockFormat(format);
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments().mid(1);
    QStringList files;
    QString version;
    QString title;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if ((argument == "--version" || argument == "--title") && i + 1 < arguments.size()) {
            QString& value = argument == "--version" ? version : title;
            value = arguments[++i];
        } else
            files << arguments[i];
    }
    if (files.size() != 2)
        return Fail("usage: orna5-manual-pdf IN.md OUT.pdf [--version TEXT] [--title TEXT]");

    QFile in(files[0]);
    if (!in.open(QIODevice::ReadOnly))
        return Fail("cannot read " + files[0] + ": " + in.errorString());
    QString text = QString::fromUtf8(in.readAll());
    text.replace("@VERSION@", version);

    QPdfWriter writer(files[1]);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setTitle(title);
    writer.setCreator("orna5 " + version);

    QTextDocument document;
    QFont font("DejaVu Sans");
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setMarkdown(text);
    // Printing lays the text out inside a margin of 2 cm on each side and
    // measures pictures in pixels of a 96 dpi screen; the text width in those
    // units is the limit for a picture.
    const qreal marginInches = 2 / 2.54;
    const qreal textWidth =
        (writer.pageLayout().paintRect(QPageLayout::Inch).width() - 2 * marginInches) * 96.0;
    QString error;
    if (!LoadImages(document, QFileInfo(files[0]).absolutePath(), textWidth, error))
        return Fail(error);
    KeepHeadingsWithPictures(document);
    document.print(&writer);
    return 0;
}
