// manualpdf: turns the user's manual from Markdown into the PDF that ships beside the program.
//
//     manualpdf INPUT.md OUTPUT.pdf
//
// Pictures are found relative to the folder of INPUT.md. A picture that cannot be read fails
// the run, so that no manual ships with a hole in it; pictures wider than the page are scaled
// down to its width. The PDF is written in one step: a failed run leaves no partial file.

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include <cstdio>

namespace {

// QTextDocument::print lays the text out with margins of 2 cm on either side, at the screen's
// resolution.
constexpr qreal PrintMarginInches = 2 / 2.54;
constexpr qreal LayoutDpi = 96;

// A document whose pictures are files named relative to the folder of the manual.
class ManualDocument : public QTextDocument
{
public:
    explicit ManualDocument(const QString &folder)
        : folder_(QUrl::fromLocalFile(folder + u'/'))
    { }

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        if (type != QTextDocument::ImageResource)
            return QTextDocument::loadResource(type, name);
        QFile file(folder_.resolved(name).toLocalFile());
        if (!file.open(QIODevice::ReadOnly))
            return QVariant();
        return file.readAll();
    }

private:
    QUrl folder_;
};

void Complain(const QString &message)
{
    std::fprintf(stderr, "manualpdf: %s\n", qPrintable(message));
}

QImage LoadPicture(QTextDocument &document, const QString &name)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.typeId() == QMetaType::QImage)
        return resource.value<QImage>();
    return QImage::fromData(resource.toByteArray());
}

// Checks every picture of the document and narrows those wider than width pixels. Returns the
// names of the pictures that cannot be read.
QStringList FitPictures(QTextDocument &document, qreal width)
{
    QStringList missing;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage picture = LoadPicture(document, format.name());
            if (picture.isNull()) {
                missing.append(format.name());
                continue;
            }
            if (format.width() <= 0 && picture.width() > width) {
                format.setWidth(width);
                format.setHeight(picture.height() * width / picture.width());
                QTextCursor cursor(&document);
                cursor.setPosition(fragment.position());
                cursor.setPosition(
                    fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
                cursor.setCharFormat(format);
            }
        }
    }
    return missing;
}

} // namespace

int main(int argc, char *argv[])
{
    // Runs at build time, where there may be no display at all.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("Usage: manualpdf INPUT.md OUTPUT.pdf\n", stderr);
        return 2;
    }
    const QString &input = args[1];
    const QString &output = args[2];

    QFile source(input);
    if (!source.open(QIODevice::ReadOnly)) {
        Complain(QStringLiteral("cannot read \"%1\": %2").arg(input, source.errorString()));
        return 1;
    }

    ManualDocument document(QFileInfo(input).absolutePath());
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    document.setMarkdown(QString::fromUtf8(source.readAll()), QTextDocument::MarkdownDialectGitHub);

    QSaveFile pdf(output);
    if (!pdf.open(QIODevice::WriteOnly)) {
        Complain(QStringLiteral("cannot write \"%1\": %2").arg(output, pdf.errorString()));
        return 1;
    }
    QPdfWriter writer(&pdf);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle(QStringLiteral("Brimlet User's Manual"));
    writer.setCreator(QStringLiteral("Brimlet"));

    const qreal textWidth
        = (writer.pageLayout().paintRect(QPageLayout::Inch).width() - 2 * PrintMarginInches)
        * LayoutDpi;
    const QStringList missing = FitPictures(document, textWidth);
    if (!missing.isEmpty()) {
        Complain(QStringLiteral("pictures not found beside \"%1\": %2")
                     .arg(input, missing.join(QLatin1String(", "))));
        return 1;
    }

    document.print(&writer);
    if (!pdf.commit()) {
        Complain(QStringLiteral("cannot write \"%1\": %2").arg(output, pdf.errorString()));
        return 1;
    }
    return 0;
}
