#include "ViewerFixture.h"

#include "FindDialog.h"
#include "RawDataView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

class FindAndEditTest : public ViewerFixture
{
protected:
    FindDialog &Dialog() { return *ui_.FindDialog1; }

    // Where the selection stands, as "line:column+length".
    QString Selection() const
    {
        const RawDataView &view = *ui_.Memo1;
        const qint64 line = view.LineFromChar(view.SelStart());
        return QStringLiteral("%1:%2+%3")
            .arg(line)
            .arg(view.SelStart() - view.LineIndex(line))
            .arg(view.SelLength());
    }
};

// The first search from the dialog, the following ones with F3, until nothing more is found.
TEST_F(FindAndEditTest, FindStartsAtTheTopAndF3MovesOnWithoutWrapping)
{
    const struct
    {
        const char *text;
        bool matchCase;
        bool wholeWord;
        QStringList found;
    } cases[] = {
        { "ST", false, false, { "2:0+2", "4:3+2", "6:0+2", "7:7+2" } }, // FST too
        { "st", false, false, { "2:0+2", "4:3+2", "6:0+2", "7:7+2" } }, { "st", true, false, {} },
        { "ST", false, true, { "2:0+2", "4:3+2", "6:0+2" } }, // not the ST inside FST
        { "0002~", false, false, {} }, // terminators are not part of the text
        { "0001\nBEG", false, false, { "2:7+8" } }, // a line break is one character
    };
    for (const auto &c : cases) {
        const QString what = QString::fromLatin1(c.text);
        Dialog().FindWhat->setText(what);
        Dialog().MatchCaseBox->setChecked(c.matchCase);
        Dialog().WholeWordBox->setChecked(c.wholeWord);
        // A click empties the selection: the search then starts at the top, not at the caret.
        ClickAt(ui_.Memo1->LineIndex(8) + 2);
        const QString before = Selection();
        MessageRecorder messages;
        QStringList found;
        Dialog().FindNextButton->click();
        while (messages.Texts().isEmpty() && found.size() < 10) {
            found.append(Selection());
            Press(Qt::Key_F3);
        }
        EXPECT_EQ(found, c.found) << qPrintable(what);
        EXPECT_EQ(messages.Texts(), QStringList(QStringLiteral("Not found."))) << qPrintable(what);
        EXPECT_EQ(Selection(), c.found.isEmpty() ? before : c.found.last())
            << qPrintable(what) << ": a miss leaves the selection";
    }
}

TEST_F(FindAndEditTest, AMatchIsSelectedAndDescribedByTheIndicator)
{
    ui_.Find1->trigger();
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_FALSE(Dialog().isModal());
    EXPECT_FALSE(Dialog().FindNextButton->isEnabled()) << "nothing to find yet";
    QTest::keyClicks(Dialog().FindWhat, QStringLiteral("acme"));
    EXPECT_TRUE(Dialog().FindNextButton->isEnabled());
    QTest::keyClick(Dialog().FindWhat, Qt::Key_Return);

    EXPECT_EQ(ui_.Memo1->SelectedText(), QByteArray("ACME"));
    EXPECT_EQ(Position(), QStringLiteral("Line: 5 Col: 7 N102"));
    EXPECT_EQ(ui_.Memo1, window_.focusWidget());
    EXPECT_TRUE(Dialog().isVisible()) << "the dialog stays for the next search";
    EXPECT_TRUE(ui_.spCopy->isEnabled());

    // Text and options last while files are closed and opened.
    Dialog().CancelButton->click();
    EXPECT_FALSE(Dialog().isVisible());
    ui_.Close1->trigger();
    Load(Segments());
    ui_.spFind->click();
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_EQ(Dialog().FindText(), QStringLiteral("acme"));
    EXPECT_EQ(Dialog().FindWhat->selectedText(), QStringLiteral("acme"));
    Dialog().FindWhat->setText(QString(300, u'x'));
    EXPECT_EQ(Dialog().FindText().size(), 255);
    Dialog().reject();
}

// Find Next stays available once there is a find text, a file open or not.
TEST_F(FindAndEditTest, FindNextWithoutAFileSaysNotFound)
{
    Dialog().FindWhat->setText(QStringLiteral("ST"));
    ui_.Close1->trigger();
    Press(Qt::Key_F3);
    EXPECT_EQ(messages_.Texts(), QStringList(QStringLiteral("Not found.")));
    EXPECT_EQ(Position(), QStringLiteral("Line: 1 Col: 1 ISA00")) << "kept from the last file";
}

struct EditState
{
    bool open;
    bool selection;
    bool findText;
};

// Menu items and buttons as the Edit menu's rules set them when it opens.
TEST_F(FindAndEditTest, EditMenuRulesFollowTheWindowsState)
{
    const EditState states[] = { { true, true, true }, { true, false, false },
        { false, false, true }, { false, false, false } };
    for (const EditState &s : states) {
        ui_.Close1->trigger();
        if (s.open)
            Load(Segments());
        if (s.selection)
            ui_.Memo1->SetSelLength(5);
        Dialog().FindWhat->setText(s.findText ? QStringLiteral("N1") : QString());
        OpenEditMenu();
        const std::string what
            = std::to_string(s.open) + std::to_string(s.selection) + std::to_string(s.findText);
        EXPECT_EQ(ui_.CopyToClipboard->isEnabled(), s.selection) << what;
        for (const QAction *item : { ui_.Find1, ui_.GotoLine1, ui_.GotoPreviousSegmentofThisType1,
                 ui_.GotoNextMatchingSegmentType1 })
            EXPECT_EQ(item->isEnabled(), s.open) << what << qPrintable(item->objectName());
        EXPECT_EQ(ui_.FindNext1->isEnabled(), s.findText) << what;
        EXPECT_TRUE(ui_.FindinFiles1->isEnabled()) << what;
        EXPECT_TRUE(ui_.SelectAll1->isEnabled()) << what;
        for (const QToolButton *button : { ui_.spClose, ui_.spFind, ui_.spPrint })
            EXPECT_EQ(button->isEnabled(), s.open) << what << qPrintable(button->objectName());
    }
}

// Every Edit command from its shortcut, with a file open.
TEST_F(FindAndEditTest, ShortcutsRunTheirCommands)
{
    QApplication::clipboard()->clear();
    ui_.Memo1->SetCaretPos(0, LineNumber(2));
    Press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(CaretLine(), 6);
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(CaretLine(), 2);

    QTimer::singleShot(0, &goTo_, [&] {
        goTo_.Edit1->setText(QStringLiteral("10"));
        goTo_.Edit2->clear();
        QTest::keyClick(goTo_.Edit1, Qt::Key_Return);
    });
    Press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(CaretLine(), 9);

    Press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Dialog().isVisible());
    Dialog().FindWhat->setText(QStringLiteral("N1*"));
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    ui_.Memo1->setFocus();
    Press(Qt::Key_F3);
    EXPECT_EQ(Selection(), QStringLiteral("4:0+3"));

    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("N1*"));
    Press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(ui_.Memo1->SelLength(), ui_.Memo1->TextLength());
    EXPECT_TRUE(messages_.Texts().isEmpty());
    Dialog().reject();
}

// The rules run again before a shortcut acts, whatever they said when the menu last opened.
TEST_F(FindAndEditTest, AShortcutOfADisabledItemDoesNothing)
{
    // At start every item is enabled: F3 with no find text would report a miss.
    Press(Qt::Key_F3);
    EXPECT_TRUE(messages_.Texts().isEmpty());
    EXPECT_FALSE(ui_.FindNext1->isEnabled());

    QApplication::clipboard()->setText(QStringLiteral("before"));
    ui_.Memo1->SetSelLength(3);
    OpenEditMenu(); // Copy enabled
    ui_.Memo1->SetSelStart(0);
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));

    ui_.Close1->trigger();
    bool shown = false;
    QTimer::singleShot(0, &goTo_, [&] {
        shown = goTo_.isVisible();
        goTo_.reject();
    });
    Press(Qt::Key_G, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_FALSE(shown) << "no Go To Line without a file";
    EXPECT_FALSE(ui_.GotoLine1->isEnabled());
}

TEST_F(FindAndEditTest, CopyPutsTheSelectionOnTheClipboardAsPlainText)
{
    Load({ "N1*ST*CAF\xC9", "N3*1 MAIN ST", "SE*3*1" });
    ui_.Memo1->SetSelStart(ui_.Memo1->LineIndex(1) + 3);
    ui_.Memo1->SetSelLength(19);
    ui_.CopyToClipboard->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ST*CAF\u00C9\nN3*1 MAIN S"));
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasHtml());

    // The Copy button works with the selection it shows, even when the menu last saw none.
    ui_.Memo1->SetSelStart(0);
    OpenEditMenu();
    ui_.Memo1->SetSelLength(3);
    ui_.spCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ISA"));
}

TEST_F(FindAndEditTest, SelectAllWithoutAFileSelectsNothing)
{
    ui_.Close1->trigger();
    OpenEditMenu();
    EXPECT_TRUE(ui_.SelectAll1->isEnabled());
    ui_.SelectAll1->trigger();
    EXPECT_EQ(ui_.Memo1->SelLength(), 0);
    EXPECT_FALSE(ui_.spCopy->isEnabled());
}

} // namespace
