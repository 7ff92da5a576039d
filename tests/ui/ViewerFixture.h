#pragma once

#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WindowProbe.h"
#include "frmGoTo.h"
#include "frmMain.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

// A main window shown and active, as a user has it, with the purchase-order interchange below
// loaded, its Go To Line dialog, and the program's messages recorded. Lines of the view:
//
//   0 ISA   1 GS   2 ST*850*0001   3 BEG   4 N1*ST*ACME   5 SE   6 ST*850*0002
//   7 N1*BT*FST CORP   8 SE   9 GE   10 IEA   11 (empty)
class ViewerFixture : public testing::Test
{
protected:
    ViewerFixture();
    ~ViewerFixture() override;

    static QByteArrayList Segments();
    // Writes the interchange of segments (after the ISA header) and loads it.
    void Load(const QByteArrayList &segments);

    // A key pressed and released where the keyboard focus is, shortcuts included.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A left click on the character at position of the view.
    void ClickAt(qint64 position);
    // Opens the Edit menu, which runs its rules, and closes it again.
    void OpenEditMenu();

    // Runs Go To Line with the two boxes filled in; pressing Go To when it can be pressed,
    // Cancel otherwise or when cancel is set.
    void GoTo(const QString &line, const QString &type, bool cancel = false);

    QString Position() const;
    QString ElementName() const;
    qint64 CaretLine() const;

    QTemporaryDir dir_;
    QString path_;
    MessageRecorder messages_;
    TForm1 window_ { QStringList() };
    MainWindowControls ui_ { window_ };
    TGoToForm goTo_;
};
