#include "ViewerFixture.h"

#include "RawDataView.h"
#include "X12Builder.h"

#include <QAction>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// A word of a PDF page, in points from the page's top-left corner, as pdftotext -bbox reads it.
struct Word
{
    int page;
    QRectF box;
    QString text;
};

class PrintTest : public ViewerFixture
{
protected:
    void SetUp() override
    {
        pdftotext_ = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext_.isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }

    // Prints through the window's print step as a user would, to a PDF of the given page.
    void Print(QAction *item, const QPageLayout &layout)
    {
        WindowProbe::SetPrintDialog(window_, [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf_);
            printer.setPageLayout(layout);
            paintRect_ = printer.pageLayout().paintRect(QPageLayout::Point);
            return true;
        });
        if (item)
            item->trigger();
        else
            ui_.spPrint->click();
    }

    QByteArray Run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << qPrintable(program);
        return process.readAllStandardOutput();
    }

    std::vector<Word> Words()
    {
        const QString html = QString::fromUtf8(
            Run(pdftotext_, { QStringLiteral("-bbox"), pdf_, QStringLiteral("-") }));
        const QRegularExpression word(
            QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                           "yMax=\"([\\d.]+)\">([^<]*)</word>"));
        std::vector<Word> words;
        int page = 0;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(0) == QLatin1String("<page ")) {
                ++page;
                continue;
            }
            words.push_back({ page,
                QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                    QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                m.captured(5) });
        }
        // In reading order: pdftotext takes the wide blanks of the ISA line for columns.
        std::stable_sort(words.begin(), words.end(), [](const Word &a, const Word &b) {
            if (a.page != b.page)
                return a.page < b.page;
            if (std::abs(a.box.top() - b.box.top()) > 1)
                return a.box.top() < b.box.top();
            return a.box.left() < b.box.left();
        });
        return words;
    }

    QString Text(const std::vector<Word> &words, int page = 0)
    {
        QString text;
        for (const Word &w : words) {
            if (page == 0 || w.page == page)
                text += w.text;
        }
        return text;
    }

    QString pdftotext_;
    QString pdf_ = dir_.filePath(QStringLiteral("printed.pdf"));
    QRectF paintRect_;
};

QByteArrayList References(int count)
{
    QByteArrayList segments;
    for (int i = 1; i <= count; ++i)
        segments.append("REF*ZZ*R" + QByteArray::number(i).rightJustified(4, '0'));
    return segments;
}

// The whole text, page after page, inside the rectangle that an eleventh (u) of the printable
// height sets: left u, top u, right 8u, bottom 10u from the printable area's corner.
TEST_F(PrintTest, PrintsTheWholeTextIntoTheRectanglePageAfterPage)
{
    Load(References(160));
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
        QMarginsF(18, 36, 18, 36), QPageLayout::Point);
    Print(ui_.Print1, letter);
    ASSERT_TRUE(messages_.Texts().isEmpty()) << qPrintable(messages_.Texts().join(u'\n'));

    const QByteArray info = Run(QStringLiteral("pdfinfo"), { pdf_ });
    EXPECT_TRUE(info.contains(QByteArray("Title:           Brimlet - " + QFile::encodeName(path_))))
        << info.constData();
    const std::vector<Word> words = Words();
    ASSERT_FALSE(words.empty());
    const int pages = words.back().page;
    EXPECT_TRUE(QString::fromUtf8(info).contains(
        QRegularExpression(QStringLiteral("\nPages: +%1\n").arg(pages))))
        << info.constData();
    EXPECT_EQ(pages, 3) << "about 69 rows of 8-point text in 9 inches";

    // pdftotext gives words: the text without its blanks.
    const QString isa = QString::fromLatin1(X12Builder::Isa().first(105)).remove(u' ');
    const QString first = Text(words, 1);
    EXPECT_TRUE(first.startsWith(isa)) << qPrintable(first.left(200));
    EXPECT_TRUE(first.contains(QLatin1String("REF*ZZ*R0001")));
    EXPECT_FALSE(first.contains(QLatin1String("REF*ZZ*R0160")));
    QString expected = isa;
    for (const QByteArray &segment : References(160))
        expected += QLatin1String(segment);
    EXPECT_EQ(Text(words), expected) << "every segment once, in order, nothing cut off";

    const double u = paintRect_.height() / 11;
    double left = 1e9, top = 1e9, right = 0, bottom = 0;
    for (const Word &w : words) {
        left = std::min(left, w.box.left());
        top = std::min(top, w.box.top());
        right = std::max(right, w.box.right());
        bottom = std::max(bottom, w.box.bottom());
    }
    EXPECT_NEAR(left, paintRect_.left() + u, 2);
    EXPECT_NEAR(top, paintRect_.top() + u, 4);
    EXPECT_LE(right, paintRect_.left() + 8 * u);
    EXPECT_GT(right, paintRect_.left() + 7 * u) << "the ISA line wraps near the right edge";
    EXPECT_LE(bottom, paintRect_.top() + 10 * u);
    EXPECT_GT(bottom, paintRect_.top() + 9.5 * u) << "a full page reaches the bottom edge";
}

// On an upright A4 page 8u lies past the printable area: lines wrap at its edge instead, so
// that no character falls off the page.
TEST_F(PrintTest, NothingFallsOffANarrowPage)
{
    QByteArray longSegment = "TXT";
    for (int i = 0; i < 150; ++i)
        longSegment += "*E" + QByteArray::number(i).rightJustified(3, '0');
    Load({ longSegment, "SE*3*1" });
    const QPageLayout a4(
        QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
    Print(nullptr, a4); // the Print button prints directly
    ASSERT_GT(8 * paintRect_.height() / 11, paintRect_.right());

    const std::vector<Word> words = Words();
    ASSERT_FALSE(words.empty());
    for (const Word &w : words)
        EXPECT_LE(w.box.right(), paintRect_.right()) << qPrintable(w.text);
    EXPECT_TRUE(Text(words).contains(QLatin1String(longSegment)));
}

TEST_F(PrintTest, CancelPrintsNothingAndAFailureIsReported)
{
    WindowProbe::SetPrintDialog(window_, [](QPrinter &) { return false; });
    ui_.Print1->trigger();
    EXPECT_FALSE(QFile::exists(pdf_));
    EXPECT_TRUE(messages_.Texts().isEmpty());

    WindowProbe::SetPrintDialog(window_, [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir_.filePath(QStringLiteral("missing/printed.pdf")));
        return true;
    });
    ui_.Print1->trigger();
    EXPECT_EQ(messages_.Texts(), QStringList(QStringLiteral("The text could not be printed.")));
}

} // namespace
