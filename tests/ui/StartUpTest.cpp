#include "StartUp.h"

#include "CasePrinter.h"
#include "RawDataView.h"
#include "TestEnvironment.h"
#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WindowProbe.h"
#include "frmAbout.h"
#include "frmGoTo.h"
#include "frmLicense.h"
#include "frmMain.h"
#include "frmSearch.h"
#include "frmSplash.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QToolButton>

#include <functional>

namespace {

using CasePrinter::PrintTo;

// Records the windows as they are shown, with the main window's title at that moment.
class ShowRecorder : public QObject
{
public:
    explicit ShowRecorder(std::function<QString()> mainTitle)
        : mainTitle_(std::move(mainTitle))
    {
        QApplication::instance()->installEventFilter(this);
    }

    QStringList shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow()
            && widget->metaObject()->className()[0] == 'T')
            shown.append(
                QLatin1String(widget->metaObject()->className()) + QLatin1Char(' ') + mainTitle_());
        return false;
    }

private:
    std::function<QString()> mainTitle_;
};

struct StartCase
{
    const char *name;
    QStringList parameters; // "FILE" and "FOLDER" stand for a valid file and a folder
    const char *title; // the main window's; "FILE" stands for "Brimlet - " and the file
    bool searchShown;
    const char *folder;
    const char *message; // the start of the error box's text, if one is shown
};

class StartUpTest : public testing::TestWithParam<StartCase>
{
protected:
    QTemporaryDir dir_;
    MessageRecorder messages_;
};

TEST_P(StartUpTest, WindowsInOrderAndTheCommandLine)
{
    const StartCase &c = GetParam();
    const QString file = dir_.filePath(QStringLiteral("three.x12"));
    WriteBytes(file, ThreeSegments());
    const QString folder = dir_.path();
    QStringList parameters;
    for (const QString &p : c.parameters)
        parameters.append(p == QLatin1String("FILE") ? file
                : p == QLatin1String("FOLDER")       ? folder
                                                     : p);

    StartUp startUp(parameters);
    ShowRecorder recorder(
        [&] { return startUp.Form1() ? startUp.Form1()->windowTitle() : QString(); });
    startUp.Start(10);

    const QString title = QString::fromLatin1(c.title).replace(
        QLatin1String("FILE"), QStringLiteral("Brimlet - ") + file);
    // A file named on the command line is loaded before the splash is shown, once.
    QStringList expected = { QStringLiteral("TForm2 ") + title, QStringLiteral("TForm1 ") + title };
    if (c.searchShown)
        expected.append(QStringLiteral("TSearch ") + title);
    EXPECT_EQ(recorder.shown, expected);

    TForm1 *form1 = startUp.Form1();
    EXPECT_TRUE(form1->isVisible());
    EXPECT_EQ(form1->windowTitle(), title);
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Brimlet"));
    EXPECT_FALSE(startUp.Form2()->isVisible());
    const MainWindowControls ui(*form1);
    // The file loads behind the windows; its progress goes once it is indexed.
    ASSERT_TRUE(WindowProbe::WaitForLoad(*form1));
    EXPECT_FALSE(ui.ProgressBar1->isVisible());
    EXPECT_EQ(startUp.Search()->isVisible(), c.searchShown);
    EXPECT_EQ(SearchWindowControls(*startUp.Search()).Folder->currentText(),
        QString::fromLatin1(c.folder).replace(QLatin1String("FOLDER"), folder));
    EXPECT_FALSE(WindowProbe::SearchOnShow(*form1));
    if (c.message) {
        ASSERT_EQ(messages_.Texts().size(), 1);
        EXPECT_TRUE(messages_.Texts().first().startsWith(QLatin1String(c.message)))
            << qPrintable(messages_.Texts().first());
        EXPECT_EQ(WindowProbe::RecentFiles(*form1).value(0),
            QFileInfo(parameters.first()).absoluteFilePath())
            << "the refused path is recent";
    } else {
        EXPECT_TRUE(messages_.Texts().isEmpty());
    }
    if (title != QLatin1String("Brimlet")) {
        EXPECT_EQ(ui.Memo1->Model().LineCount(), 4);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StartUpTest,
    testing::Values(StartCase { "NoParameters", {}, "Brimlet", false, "", nullptr },
        StartCase { "File", { "FILE" }, "FILE", false, "", nullptr },
        StartCase { "FileWithMoreParameters", { "FILE", "-s", "x" }, "FILE", false, "", nullptr },
        StartCase { "SearchFolder", { "-s", "FOLDER" }, "Brimlet", true, "FOLDER", nullptr },
        StartCase { "SearchWithoutFolder", { "-s" }, "Brimlet", true, "", nullptr },
        StartCase {
            "UpperCaseSIsAFile", { "-S", "FOLDER" }, "Brimlet", false, "", "Cannot open file \"" },
        StartCase { "SlashSIsAFile", { "/s" }, "Brimlet", false, "", "Cannot open file \"/s\". " }),
    [](const testing::TestParamInfo<StartCase> &info) { return info.param.name; });

TEST(StartUpWindowsTest, EachWindowOnceWithItsCaption)
{
    StartUp startUp({});
    QElapsedTimer timer;
    timer.start();
    startUp.Start();
    EXPECT_GE(timer.elapsed(), 1000) << "the splash stays one second";

    EXPECT_EQ(startUp.Form2()->size(), QSize(529, 287));
    EXPECT_TRUE(startUp.Form2()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(startUp.About()->windowTitle(), QStringLiteral("About Brimlet"));
    EXPECT_EQ(
        startUp.License()->windowTitle(), QStringLiteral("Brimlet Zudozazir Edition License"));
    EXPECT_EQ(startUp.Search()->windowTitle(), QStringLiteral("Find in Files"));
    EXPECT_EQ(startUp.GoToForm()->windowTitle(), QStringLiteral("Go To Line"));

    // The Find in Files button shows the window; closing it only hides it.
    const MainWindowControls ui(*startUp.Form1());
    ui.spFindInFiles->click();
    EXPECT_TRUE(startUp.Search()->isVisible());
    startUp.Search()->close();
    EXPECT_FALSE(startUp.Search()->isVisible());
    ui.FindinFiles1->trigger();
    EXPECT_TRUE(startUp.Search()->isVisible());
}

} // namespace
