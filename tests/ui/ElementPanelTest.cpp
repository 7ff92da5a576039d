#include "ViewerFixture.h"
#include "WindowProbe.h"

#include "RawDataView.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

namespace {

// The panel's rows, each as "REFERENCE|NAME|VALUE|MEANING".
QStringList Rows(const QTableWidget &table)
{
    QStringList rows;
    for (int i = 0; i < table.rowCount(); ++i) {
        QStringList cells;
        for (int column = 0; column < table.columnCount(); ++column)
            cells.append(table.item(i, column)->text());
        rows.append(cells.join(u'|'));
    }
    return rows;
}

// The reference of the highlighted row, or nothing.
QString Highlighted(const QTableWidget &table)
{
    const QList<QTableWidgetItem *> selected = table.selectedItems();
    return selected.isEmpty() ? QString() : table.item(selected.first()->row(), 0)->text();
}

// The tooltip shown for a point of the raw data view, or nothing.
QString TipAt(RawDataView &view, const QPoint &point)
{
    QHelpEvent event(QEvent::ToolTip, point, view.viewport()->mapToGlobal(point));
    QCoreApplication::sendEvent(view.viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Whether the tooltip is gone, as a tip that is not replaced goes after a moment.
bool NoTipAt(RawDataView &view, const QPoint &point)
{
    TipAt(view, point);
    return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
}

class ElementPanelTest : public ViewerFixture
{
protected:
    ElementPanelTest()
        : view_(*window_.findChild<RawDataView *>(QStringLiteral("Memo1")))
        , dock_(window_.findChild<QDockWidget *>(QStringLiteral("ElementPanel")))
        , table_(window_.findChild<QTableWidget *>(QStringLiteral("ElementTable")))
    { }

    void ShowPanel()
    {
        ASSERT_TRUE(dock_->isHidden()) << "hidden at first";
        window_.findChild<QAction *>(QStringLiteral("ElementPanelItem"))->trigger();
        QCoreApplication::processEvents();
        ASSERT_TRUE(table_->isVisible());
    }

    void ClickRow(int row)
    {
        const QRect cell = table_->visualItemRect(table_->item(row, 2));
        QTest::mouseClick(table_->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // Loads a 5010 interchange, in which "^" repeats elements.
    void Load5010(const QByteArrayList &segments)
    {
        QByteArray bytes = Interchange(segments);
        bytes[82] = '^';
        WriteBytes(path_, bytes);
        LoadAndWait(window_, path_);
    }

    // The element the status bar names: the last word of the position text.
    QString StatusElement() const { return Position().section(u' ', -1); }

    RawDataView &view_;
    QDockWidget *dock_;
    QTableWidget *table_;
};

TEST_F(ElementPanelTest, FollowsTheCaretWithTheStatusBarsElementHighlighted)
{
    ASSERT_TRUE(dock_ && table_);
    EXPECT_EQ(dock_->parentWidget(), &window_);
    EXPECT_EQ(window_.dockWidgetArea(dock_), Qt::RightDockWidgetArea);
    EXPECT_TRUE(window_.findChild<QMenu *>(QStringLiteral("View1"))
                    ->actions()
                    .contains(dock_->toggleViewAction()));
    ShowPanel();
    ASSERT_EQ(table_->rowCount(), 17) << "the ISA, where the caret is after loading";
    EXPECT_EQ(Highlighted(*table_), QLatin1String("ISA00"));

    const RawDataView &view = view_;
    ClickAt(view.LineIndex(4) + 3);
    EXPECT_EQ(Rows(*table_),
        QStringList({ "N100|Party Identification|N1|", "N101|Entity Identifier Code|ST|Ship to",
            "N102|Name|ACME|" }));
    EXPECT_EQ(Highlighted(*table_), QLatin1String("N101"));

    const struct
    {
        const char *name;
        std::function<void()> act;
        const char *highlighted;
    } steps[] = {
        { "End", [&] { Press(Qt::Key_End); }, "N102" },
        { "Left to the separator",
            [&] {
                for (int i = 0; i < 5; ++i)
                    Press(Qt::Key_Left);
            },
            "N101" },
        { "Home", [&] { Press(Qt::Key_Home); }, "N100" },
        { "Down to SE*4*0001, End",
            [&] {
                Press(Qt::Key_Down);
                Press(Qt::Key_End);
            },
            "SE02" },
    };
    for (const auto &step : steps) {
        step.act();
        EXPECT_EQ(Highlighted(*table_), QLatin1String(step.highlighted)) << step.name;
        EXPECT_EQ(Highlighted(*table_), StatusElement()) << step.name;
    }
    EXPECT_EQ(table_->rowCount(), 3) << "SE, SE01, SE02";

    // Hidden, the panel is left as it is; shown again, it catches up.
    dock_->hide();
    Press(Qt::Key_Up);
    EXPECT_EQ(Highlighted(*table_), QLatin1String("SE02"));
    dock_->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(Highlighted(*table_), QLatin1String("N102"));

    // The line after the last segment has no elements.
    Press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(table_->rowCount(), 0);
    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Highlighted(*table_), QLatin1String("ISA00"));

    window_.findChild<QAction *>(QStringLiteral("Close1"))->trigger();
    EXPECT_EQ(table_->rowCount(), 0) << "a closed file leaves no rows";
}

TEST_F(ElementPanelTest, ClickingARowMovesTheCaretToItsElement)
{
    ShowPanel();
    const RawDataView &view = view_;
    ClickAt(view.LineIndex(4));
    ClickRow(2);
    EXPECT_EQ(view.SelStart(), view.LineIndex(4) + 6);
    EXPECT_EQ(Position(), QLatin1String("Line: 5 Col: 7 N102"));
    EXPECT_EQ(Highlighted(*table_), QLatin1String("N102"));
    EXPECT_TRUE(view.hasFocus()) << "the caret is shown";

    // Repetitions and components, and an empty element, in a file of its own delimiters.
    Load5010({ "EB*1**30^35", "HI*ABK:J209^ABF:R05" });
    ClickAt(view.LineIndex(1) + 10);
    EXPECT_EQ(Rows(*table_).mid(3), QStringList({ "EB03-1||30|", "EB03-2||35|" }));
    EXPECT_EQ(Highlighted(*table_), QLatin1String("EB03-2"));
    ClickRow(2);
    EXPECT_EQ(view.SelStart(), view.LineIndex(1) + 5);
    EXPECT_EQ(Position(), QLatin1String("Line: 2 Col: 6 EB02"));
    EXPECT_EQ(Highlighted(*table_), QLatin1String("EB02"));

    Press(Qt::Key_Down);
    ClickRow(3);
    EXPECT_EQ(view.SelStart(), view.LineIndex(2) + 12);
    EXPECT_EQ(Highlighted(*table_), QLatin1String("HI01-2-1"));
}

TEST_F(ElementPanelTest, HoveringAnElementShowsItInATooltip)
{
    RawDataView &view = view_;
    const qint64 n1 = view.LineIndex(4); // N1*ST*ACME
    const QString tip = TipAt(view, view.CharacterRect(n1 + 4).center());
    for (const char *part :
        { "<b>N101</b>", "Entity Identifier Code", "Value: ST", "Meaning: Ship to" })
        EXPECT_TRUE(tip.contains(QLatin1String(part))) << part << " in " << qPrintable(tip);

    const QString name = TipAt(view, view.CharacterRect(n1 + 9).center());
    EXPECT_TRUE(name.contains(QLatin1String("Value: ACME"))) << qPrintable(name);
    EXPECT_FALSE(name.contains(QLatin1String("Meaning"))) << "ACME is no code";

    // Past the end of the line, nothing is under the mouse.
    const QPoint pastTheEnd = view.CharacterRect(n1 + 10).center() + QPoint(40, 0);
    EXPECT_TRUE(NoTipAt(view, pastTheEnd));

    // Markup in the data shows as text.
    Load({ "N1*ST*<b>&amp;", "IEA*1*000000007" });
    const QString markup = TipAt(view, view.CharacterRect(view.LineIndex(1) + 8).center());
    EXPECT_TRUE(markup.contains(QLatin1String("Value: &lt;b&gt;&amp;amp;"))) << qPrintable(markup);
}

// A user's copy of the code lists in the settings folder: its entries override the shipped
// ones, and its faulty lines are told once, when the window is created.
TEST(ElementPanelCodesTest, TheUsersCodeListsOverrideAndTheirFaultsAreTold)
{
    QTemporaryDir config;
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", savedConfig); });
    const QString user = config.filePath(QStringLiteral("BrimletCodes.ini"));
    WriteBytes(user, "[N101]\nST=Our dock\nbroken line\n[N1]\n");

    MessageRecorder messages;
    TForm1 window { QStringList() };
    ASSERT_EQ(messages.Texts().size(), 1);
    EXPECT_EQ(messages.Messages()[0].kind, MessageBoxes::Kind::Notice);
    EXPECT_EQ(messages.Texts()[0],
        QStringLiteral("These lines of the code lists were ignored:\n\n") + user
            + QStringLiteral(", line 3: neither a [SECTION] header nor a CODE=Meaning line\n")
            + user
            + QStringLiteral(", line 4: \"N1\" is not an element reference such as N101 or "
                             "CLM05-1"));

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.findChild<QAction *>(QStringLiteral("ElementPanelItem"))->trigger();
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("po.x12"));
    WriteBytes(path, Interchange({ "N1*ST*ACME", "N1*BT*FST" }));
    LoadAndWait(window, path);
    auto *view = window.findChild<RawDataView *>(QStringLiteral("Memo1"));
    const QTableWidget &table = *window.findChild<QTableWidget *>(QStringLiteral("ElementTable"));
    const auto meaningOnLine = [&](qint64 line) {
        const QPoint at = view->CharacterRect(view->LineIndex(line) + 4).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        return table.item(1, 3)->text();
    };
    EXPECT_EQ(meaningOnLine(1), QLatin1String("Our dock"));
    EXPECT_EQ(meaningOnLine(2), QLatin1String("Bill to")) << "the shipped entries still hold";
    EXPECT_EQ(messages.Texts().size(), 1) << "told once";
    window.findChild<QAction *>(QStringLiteral("Close1"))->trigger();
}

} // namespace
