#include "frmMain.h"

#include "DesktopEntries.h"
#include "DocumentOpener.h"
#include "ProductInfo.h"
#include "RawDataView.h"
#include "TestEnvironment.h"
#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WindowProbe.h"
#include "frmAbout.h"
#include "frmLicense.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class HelpAndToolsTest : public testing::Test
{
protected:
    MessageRecorder messages_;
    OpenRecorder opened_;
    TForm1 window_ { QStringList() };
    MainWindowControls ui_ { window_ };
};

TEST_F(HelpAndToolsTest, HelpMenuHoldsItsItemsInOrderWithTheirIcons)
{
    const QList<QAction *> items = ui_.Help1->actions();
    QStringList captions;
    for (const QAction *item : items)
        captions.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(captions,
        QStringList({ "Help...", "-", "License", "-", ProductInfo::WebItemCaption, "About..." }));
    for (const QAction *item : { ui_.Help2, ui_.License1, ui_.About1 })
        EXPECT_FALSE(item->icon().isNull()) << qPrintable(item->text());
    EXPECT_TRUE(ui_.WebSite1->icon().isNull());
    for (const QAction *item : items)
        EXPECT_TRUE(item->shortcut().isEmpty()) << qPrintable(item->text());
}

// The manual beside the executable and the product's page go to the desktop as they are, and
// nothing of the program's own is shown, whatever the desktop does with them.
TEST_F(HelpAndToolsTest, HelpAndTheWebItemHandTheirAddressesToTheDesktop)
{
    ui_.Help2->trigger();
    ui_.WebSite1->trigger();
    ASSERT_EQ(opened_.Urls().size(), 2);
    EXPECT_EQ(opened_.Urls()[0],
        QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/BrimletCEUsersManual.pdf"));
    EXPECT_EQ(opened_.Urls()[1], QUrl(QStringLiteral("https://brimlet.example/")));
    EXPECT_TRUE(messages_.Messages().empty());
}

// When the desktop cannot open the manual or a page, a message gives its path or address, to be
// opened by hand; a missing manual is said to be missing, and not handed to the desktop.
TEST_F(HelpAndToolsTest, WhatTheDesktopCannotOpenIsNamedInAMessage)
{
    opened_.Refuse();
    ui_.Help2->trigger();
    ui_.WebSite1->trigger();
    const QString manual = QCoreApplication::applicationDirPath() + "/BrimletCEUsersManual.pdf";
    const QString missing = QDir::tempPath() + "/missing/BrimletCEUsersManual.pdf";
    DocumentOpener::Open(QUrl::fromLocalFile(missing), QStringLiteral("the user's manual"));

    EXPECT_EQ(opened_.Urls().size(), 2) << "the missing file is not handed over";
    EXPECT_EQ(messages_.Texts(),
        QStringList({ "Brimlet could not open the user's manual: the desktop has no program for "
                      "it. You can open it by hand:\n"
                + manual,
            "Brimlet could not open the web page: the desktop has no program for it. You can "
            "open it by hand:\nhttps://brimlet.example/",
            "Brimlet cannot find the user's manual. It belongs here:\n" + missing }));
    for (const ShownMessage &shown : messages_.Messages()) {
        EXPECT_EQ(shown.kind, MessageBoxes::Kind::Error);
        EXPECT_EQ(shown.title, QStringLiteral("Brimlet"));
    }
}

// License and About are shown modally over the main window and leave its file as it was.
TEST_F(HelpAndToolsTest, LicenseAndAboutAreShownModallyAndLeaveTheFileAlone)
{
    TAbout about;
    TLicense license;
    window_.SetInformationWindows(&about, &license);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("open.x12"));
    WriteBytes(path, ThreeSegments());
    LoadAndWait(window_, path);
    ui_.Memo1->SetSelStart(120);

    for (QAction *item : { ui_.License1, ui_.About1 }) {
        QDialog *dialog = item == ui_.License1 ? static_cast<QDialog *>(&license) : &about;
        bool shownModal = false;
        QTimer::singleShot(0, dialog, [&] {
            shownModal = dialog->isVisible() && dialog->isModal()
                && QApplication::activeModalWidget() == dialog;
            dialog->findChild<QPushButton *>(QStringLiteral("Ok"))->click();
        });
        item->trigger();
        EXPECT_TRUE(shownModal) << qPrintable(item->text());
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_EQ(ui_.Memo1->SelStart(), 120);
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - ") + path);
    EXPECT_TRUE(messages_.Messages().empty());
}

// The Tools items and the status bar, as a user reaches them.
class ToolsMenuTest : public HelpAndToolsTest
{
protected:
    QAction *Item(const char *name) { return window_.findChild<QAction *>(QLatin1String(name)); }
    QString StatusMessage()
    {
        return window_.findChild<QStatusBar *>(QStringLiteral("StatusBar1"))->currentMessage();
    }
};

TEST_F(ToolsMenuTest, ToolsItemsAddAndRemoveTheDesktopEntriesAndSaySo)
{
    QStringList captions;
    for (const QAction *item : window_.findChild<QMenu *>(QStringLiteral("ools1"))->actions())
        captions.append(item->text());
    EXPECT_EQ(captions,
        QStringList({ "Make Brimlet Available on Desktop Context Menus",
            "Remove Brimlet from Desktop Context Menus" }));

    const DesktopEntries expected(QCoreApplication::applicationFilePath());
    const QList<DesktopEntries::File> files = expected.Files();
    ASSERT_TRUE(files[0].path.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + u'/'));
    for (int run = 0; run < 2; ++run) {
        Item("MakeAvailableonWindowsContextMenus1")->trigger();
        for (const DesktopEntries::File &file : files)
            EXPECT_EQ(ReadAll(file.path), file.contents) << qPrintable(file.path) << " " << run;
        EXPECT_EQ(StatusMessage(), "Brimlet was added to the desktop context menus.");
    }
    const QByteArray exec
        = "Exec=\"" + QFile::encodeName(QCoreApplication::applicationFilePath()) + "\" %f\n";
    EXPECT_TRUE(ReadAll(files[1].path).contains(exec));

    Item("RemoveBrimletfromDesktopContextMenus1")->trigger();
    for (const DesktopEntries::File &file : files)
        EXPECT_FALSE(QFile::exists(file.path)) << qPrintable(file.path);
    EXPECT_EQ(StatusMessage(), "Brimlet was removed from the desktop context menus.");
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ToolsMenuTest, AFailureShowsTheErrorBoxAndClearsAnEarlierSuccess)
{
    Item("MakeAvailableonWindowsContextMenus1")->trigger();
    ASSERT_FALSE(StatusMessage().isEmpty());
    // A regular file where the file-type folder should be: nothing goes below it.
    const QString mime = qEnvironmentVariable("XDG_DATA_HOME") + "/mime";
    QDir(mime).removeRecursively();
    QDir(qEnvironmentVariable("XDG_DATA_HOME") + "/kio").removeRecursively();
    WriteBytes(mime, "not a folder");
    Item("MakeAvailableonWindowsContextMenus1")->trigger();

    ASSERT_EQ(messages_.Messages().size(), 1u);
    const ShownMessage &shown = messages_.Messages()[0];
    EXPECT_EQ(shown.kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(shown.title, QStringLiteral("Error"));
    EXPECT_EQ(shown.text,
        QStringLiteral("There was an error while Brimlet attempted to modify the desktop context "
                       "menus.  The file \"%1/packages/brimlet-x12.xml\" could not be written: "
                       "Not a directory")
            .arg(mime));
    EXPECT_FALSE(QFile::exists(qEnvironmentVariable("XDG_DATA_HOME") + "/kio"))
        << "the command stops at the first file";
    EXPECT_EQ(StatusMessage(), QString());
}

} // namespace
