#include "ViewerFixture.h"
#include "WindowProbe.h"

#include "RawDataView.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

ViewerFixture::ViewerFixture()
{
    window_.SetGoToForm(&goTo_);
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    Load(Segments());
}

ViewerFixture::~ViewerFixture()
{
    ui_.Close1->trigger();
}

QByteArrayList ViewerFixture::Segments()
{
    return { "GS*PO*SENDERID*RECEIVERID*20240102*0930*7*X*004010", "ST*850*0001",
        "BEG*00*SA*PO1**20240102", "N1*ST*ACME", "SE*4*0001", "ST*850*0002", "N1*BT*FST CORP",
        "SE*3*0002", "GE*2*7", "IEA*1*000000007" };
}

void ViewerFixture::Load(const QByteArrayList &segments)
{
    path_ = dir_.filePath(QStringLiteral("po.x12"));
    WriteBytes(path_, Interchange(segments));
    LoadAndWait(window_, path_);
}

void ViewerFixture::Press(int key, Qt::KeyboardModifiers modifiers)
{
    // Back to the window, as the desktop does when a dialog closes; its shortcuts need that.
    if (!window_.isActiveWindow()) {
        window_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    }
    QWidget *target = QApplication::focusWidget();
    QTest::keyClick(target ? target : &window_, Qt::Key(key), modifiers);
}

void ViewerFixture::ClickAt(qint64 position)
{
    const QPoint at = ui_.Memo1->CharacterRect(position).center();
    QTest::mouseClick(ui_.Memo1->viewport(), Qt::LeftButton, {}, at);
}

void ViewerFixture::OpenEditMenu()
{
    ui_.Edit1->popup(window_.mapToGlobal(QPoint(10, 10)));
    ui_.Edit1->hide();
}

void ViewerFixture::GoTo(const QString &line, const QString &type, bool cancel)
{
    QTimer::singleShot(0, &goTo_, [=, this] {
        if (!goTo_.isVisible())
            return;
        goTo_.Edit1->setText(line);
        goTo_.Edit2->setText(type);
        if (cancel || !goTo_.GoToButton->isEnabled())
            goTo_.CancelButton->click();
        else
            goTo_.GoToButton->click();
    });
    ui_.GotoLine1->trigger();
}

QString ViewerFixture::Position() const
{
    return ui_.StatusPanel0->text();
}

QString ViewerFixture::ElementName() const
{
    return ui_.StatusPanel1->text();
}

qint64 ViewerFixture::CaretLine() const
{
    return ui_.Memo1->LineFromChar(ui_.Memo1->SelStart());
}
