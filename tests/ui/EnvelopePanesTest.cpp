// The envelope check in the main window: the Structure pane and the Problems list fed while
// the file loads, clicks that move the caret, the caret that selects, the status bar's place in
// the transaction set and problems, and Go To by a set's control number.

#include "frmMain.h"

#include "RawDataView.h"
#include "TestEnvironment.h"
#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WindowProbe.h"
#include "frmGoTo.h"

#include <gtest/gtest.h>

#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

// Segments 1 to 13; the second set's SE01 is wrong (segment 10).
const QByteArrayList Segments = { "GS*PO*SENDER*RECEIVER*20240102*0930*7*X*004010", // 2
    "ST*850*0001", "BEG*00*SA*PO1**20240102", "N1*ST*ACME", "SE*4*0001", // 3-6
    "ST*850*0002", "N1*BT*ACME", "PO1*1*48*EA", "SE*9*0002", // 7-10
    "GE*2*7", "IEA*1*000000007" }; // 11, 12

class EnvelopePanesTest : public testing::Test
{
protected:
    EnvelopePanesTest()
    {
        window_.SetGoToForm(&goTo_);
        window_.show();
        const QString path = dir_.filePath(QStringLiteral("po.x12"));
        WriteBytes(path, Interchange(Segments));
        LoadAndWait(window_, path);
    }

    QTreeView *Tree(const char *pane) const
    {
        return window_.findChild<QWidget *>(QLatin1String(pane))->findChild<QTreeView *>();
    }
    qint64 CaretSegment() const { return ui_.Memo1->LineFromChar(ui_.Memo1->SelStart()) + 1; }
    QString Panel(const char *name) const
    {
        return window_.findChild<QLabel *>(QLatin1String(name))->text();
    }

    QTemporaryDir dir_;
    MessageRecorder messages_;
    TForm1 window_ { QStringList() };
    MainWindowControls ui_ { window_ };
    TGoToForm goTo_;
};

TEST_F(EnvelopePanesTest, PanesListTheEnvelopesAndTheProblems)
{
    for (const char *dock : { "StructurePane", "ProblemsPane" }) {
        auto *panel = window_.findChild<QDockWidget *>(QLatin1String(dock));
        ASSERT_NE(panel, nullptr);
        EXPECT_FALSE(panel->isVisible()) << dock << ": hidden at first";
        panel->toggleViewAction()->trigger();
        EXPECT_TRUE(panel->isVisible()) << dock;
    }
    // Tabbed together: the Problems tab brought to the front.
    window_.findChild<QDockWidget *>(QStringLiteral("ProblemsPane"))->raise();
    QTreeView *problems = Tree("ProblemsList1");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    ASSERT_TRUE(problems->isVisible());
    ASSERT_EQ(problems->model()->rowCount(), 1);
    EXPECT_EQ(problems->model()->index(0, 0).data().toString(), QStringLiteral("10"));
    EXPECT_EQ(Panel("StatusPanel3"), QStringLiteral("1 problem"));

    // A click on the problem puts the caret on its segment, and the status bar says it.
    const QRect rect = problems->visualRect(problems->model()->index(0, 1));
    QTest::mouseClick(problems->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(CaretSegment(), 10);
    EXPECT_EQ(
        Panel("StatusPanel3"), QStringLiteral("SE01 is 9 but the transaction set has 4 segments"));
    EXPECT_EQ(Panel("StatusPanel2"), QStringLiteral("ST 0002, segment 4"));

    // The caret selects the structure's node that holds it.
    QTreeView *structure = Tree("StructurePane1");
    ui_.Memo1->SetCaretPos(0, LineNumber(3));
    QTest::keyClick(ui_.Memo1, Qt::Key_Down); // line 4: N1 of the first set
    EXPECT_EQ(Panel("StatusPanel2"), QStringLiteral("ST 0001, segment 3"));
    EXPECT_TRUE(structure->currentIndex().data().toString().contains(QLatin1String("0001")))
        << qPrintable(structure->currentIndex().data().toString());
    EXPECT_TRUE(messages_.Messages().empty());
}

// Go To Line in a set: the position within the set whose ST02 is given, as acknowledgments
// name a segment.
TEST_F(EnvelopePanesTest, GoToAPositionInATransactionSet)
{
    const auto goTo = [&](const QString &line, const QString &set) {
        QTimer::singleShot(0, &goTo_, [&] {
            goTo_.Edit1->setText(line);
            goTo_.Edit2->clear();
            goTo_.Edit3->setText(set);
            goTo_.GoToButton->click();
        });
        ui_.GotoLine1->trigger();
    };
    goTo(QStringLiteral("3"), QStringLiteral("0002"));
    EXPECT_EQ(CaretSegment(), 9);
    goTo(QStringLiteral("1"), QStringLiteral(" 0001 "));
    EXPECT_EQ(CaretSegment(), 3);
    EXPECT_TRUE(messages_.Messages().empty());
    goTo(QStringLiteral("1"), QStringLiteral("0009"));
    goTo(QStringLiteral("7"), QStringLiteral("0001"));
    EXPECT_EQ(CaretSegment(), 3) << "the caret stays";
    EXPECT_EQ(messages_.Texts(),
        QStringList({ QStringLiteral("Not Found."),
            QStringLiteral("Transaction set 0001 has 4 segments.") }));
}

} // namespace
