#include "frmAbout.h"
#include "frmLicense.h"

#include "CasePrinter.h"
#include "ProductInfo.h"
#include "SplashPicture.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

using CasePrinter::PrintTo;

struct CloseCase
{
    const char *name;
    // Closes the shown window the way a user would; gets the window and its Ok button.
    std::function<void(QDialog &, QPushButton &)> close;
};

const CloseCase CloseCases[] = {
    { "OkClicked", [](QDialog &, QPushButton &ok) { QTest::mouseClick(&ok, Qt::LeftButton); } },
    { "Enter", [](QDialog &, QPushButton &ok) { QTest::keyClick(&ok, Qt::Key_Return); } },
    { "Esc", [](QDialog &, QPushButton &ok) { QTest::keyClick(&ok, Qt::Key_Escape); } },
};

// Shows the window modally, checks what shows, closes it the case's way and returns the result.
int ExecAndClose(QDialog &dialog, const CloseCase &c, const std::function<void()> &whileShown)
{
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("Ok"));
    QTimer::singleShot(0, &dialog, [&] {
        whileShown();
        c.close(dialog, *ok);
    });
    return dialog.exec();
}

class AboutCloseTest : public testing::TestWithParam<CloseCase>
{
};

TEST_P(AboutCloseTest, ShownCentredWithOkFocusedAndClosedWithOk)
{
    TAbout about;
    bool checked = false;
    const int result = ExecAndClose(about, GetParam(), [&] {
        EXPECT_TRUE(about.isVisible());
        EXPECT_EQ(about.focusWidget(), about.Ok);
        EXPECT_EQ(about.frameGeometry().center(),
            QGuiApplication::primaryScreen()->availableGeometry().center());
        checked = true;
    });
    EXPECT_TRUE(checked);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, AboutCloseTest, testing::ValuesIn(CloseCases),
    [](const testing::TestParamInfo<CloseCase> &info) { return info.param.name; });

TEST(AboutTest, FramelessPictureWithOkAndTheLogoLink)
{
    TAbout about;
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(about.size(), QSize(529, 287));
    EXPECT_EQ(about.minimumSize(), about.maximumSize()) << "not resizable";
    EXPECT_EQ(about.Image1->geometry(), QRect(0, 0, 529, 287));
    EXPECT_EQ(about.Image1->pixmap().toImage(), SplashPicture::Draw().toImage());
    EXPECT_EQ(about.Ok->geometry(), QRect(104, 240, 75, 25));
    EXPECT_EQ(about.Ok->text(), QStringLiteral("Ok"));
    EXPECT_TRUE(about.Ok->isDefault());
    EXPECT_EQ(about.Panel1->geometry(), QRect(360, 216, 137, 57));
    EXPECT_EQ(about.Panel1->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(about.Panel1->focusPolicy(), Qt::NoFocus);
}

// The picture's texts shrink to fit their room, whatever font stands in for Tahoma and however
// large it is; a text that fits keeps its size.
TEST(SplashPictureTest, TextsShrinkToFitTheirRoom)
{
    const QString text = QStringLiteral("Brimlet Works");
    const QSize room(113, 40);
    for (const int pixels : { 13, 40, 300 }) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(pixels);
        const QFont fitted = SplashPicture::FitFont(font, text, room);
        EXPECT_LE(QFontMetrics(fitted).horizontalAdvance(text), room.width()) << pixels;
        EXPECT_LE(QFontMetrics(fitted).height(), room.height()) << pixels;
        EXPECT_GE(fitted.pixelSize(), 8) << pixels << ": no smaller than it must be";
    }
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(9);
    EXPECT_EQ(SplashPicture::FitFont(small, text, room).pixelSize(), 9);
}

TEST(AboutTest, AClickOnTheLogoOpensTheMakersPageAndTheWindowStays)
{
    OpenRecorder opened;
    TAbout about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QTest::mousePress(about.Panel1, Qt::LeftButton);
    QTest::mouseRelease(about.Panel1, Qt::LeftButton, {}, QPoint(200, 10)); // dragged off
    EXPECT_TRUE(opened.Urls().isEmpty());
    QTest::mouseClick(about.Panel1, Qt::LeftButton);
    EXPECT_EQ(opened.Urls(), QList<QUrl>({ QUrl(QStringLiteral("https://zudozazir.example/")) }));
    EXPECT_TRUE(about.isVisible());
}

class LicenseCloseTest : public testing::TestWithParam<CloseCase>
{
};

TEST_P(LicenseCloseTest, ShownModalAndClosedWithOk)
{
    TLicense license;
    bool checked = false;
    const int result = ExecAndClose(license, GetParam(), [&] {
        EXPECT_TRUE(license.isVisible());
        EXPECT_EQ(license.size(), QSize(531, 391));
        checked = true;
    });
    EXPECT_TRUE(checked);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(license.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, LicenseCloseTest, testing::ValuesIn(CloseCases),
    [](const testing::TestParamInfo<CloseCase> &info) { return info.param.name; });

TEST(LicenseTest, ReadOnlyWrappedTextAndOk)
{
    TLicense license;
    EXPECT_EQ(license.windowTitle(), QStringLiteral("Brimlet Zudozazir Edition License"));
    EXPECT_FALSE(license.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(license.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(license.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(license.RichEdit1->toPlainText(), ProductInfo::LicenseText());
    EXPECT_FALSE(license.RichEdit1->toPlainText().isEmpty());
    EXPECT_TRUE(license.RichEdit1->isReadOnly());
    EXPECT_EQ(license.RichEdit1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(license.RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(license.RichEdit1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(license.Ok->isDefault());

    // Typing into the text changes nothing.
    license.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&license));
    QTest::keyClicks(license.RichEdit1, QStringLiteral("xyz"));
    EXPECT_EQ(license.RichEdit1->toPlainText(), ProductInfo::LicenseText());
}

// The text keeps filling the window above the button's strip, the button keeps its distance
// from the lower right corner, and the long lines wrap rather than scroll sideways.
TEST(LicenseTest, ResizingKeepsTheLayout)
{
    TLicense license;
    license.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&license));
    const struct
    {
        QSize size;
        QRect text;
        QRect ok;
    } cases[] = {
        { { 531, 391 }, { 0, 0, 531, 351 }, { 441, 358, 75, 25 } },
        { { 900, 700 }, { 0, 0, 900, 660 }, { 810, 667, 75, 25 } },
        { { 300, 200 }, { 0, 0, 300, 160 }, { 210, 167, 75, 25 } },
    };
    for (const auto &c : cases) {
        license.resize(c.size);
        QCoreApplication::processEvents();
        EXPECT_EQ(license.RichEdit1->geometry(), c.text) << c.size.width();
        EXPECT_EQ(license.Ok->geometry(), c.ok) << c.size.width();
        EXPECT_EQ(license.RichEdit1->horizontalScrollBar()->maximum(), 0) << c.size.width();
    }
}

TEST(LicenseTest, ComesBackWhereItWasLeft)
{
    TLicense license;
    license.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&license));
    license.move(123, 77);
    license.resize(600, 450);
    QCoreApplication::processEvents();
    license.Ok->click();
    EXPECT_FALSE(license.isVisible());

    QTimer::singleShot(0, &license, [&] {
        EXPECT_EQ(license.pos(), QPoint(123, 77));
        EXPECT_EQ(license.size(), QSize(600, 450));
        license.Ok->click();
    });
    license.exec();
}

} // namespace
