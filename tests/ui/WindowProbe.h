#pragma once

#include "ElementDictionary.h"
#include "IndexedFile.h"
#include "frmMain.h"
#include "frmSearch.h"

#include <QComboBox>

#include <functional>

class QPrinter;

// The tests' way to what the windows keep but no control shows, and to the stand-ins for their
// dialogs.
class WindowProbe
{
public:
    // The main window's file shown, or none.
    static IndexedFile *File(const TForm1 &window) { return window.File.get(); }
    // Whether the window still follows a file's indexing.
    static bool Loading(const TForm1 &window);
    // Handles events until the file shown is indexed and the window has seen it end; false
    // when that takes longer than timeout milliseconds.
    static bool WaitForLoad(TForm1 &window, int timeout = 60000);
    // Puts answer in place of the question whether to reload a file changed on disk.
    static void SetReloadQuestion(TForm1 &window, std::function<bool()> answer)
    {
        window.AskToReload = std::move(answer);
    }
    // Slows the indexing of the files the window opens by delay a chunk of the file.
    static void SetIndexingDelay(TForm1 &window, std::chrono::microseconds delay)
    {
        window.indexingDelay_ = delay;
    }
    static void SetPrintConfirmation(TForm1 &window, std::function<bool(qint64 pages)> answer)
    {
        window.ConfirmPrint = std::move(answer);
    }
    // Recent files as the main window holds them, all of them, most recent first.
    static const QStringList &RecentFiles(const TForm1 &window) { return window.MRUList; }
    static ElementDictionary &ElementNames(TForm1 &window) { return window.ElementNames; }
    static bool SearchOnShow(const TForm1 &window) { return window.SearchOnShow; }
    // Puts dialog in place of the print dialog: it readies the printer and says whether to print.
    static void SetPrintDialog(TForm1 &window, std::function<bool(QPrinter &printer)> dialog)
    {
        window.ShowPrintDialog = std::move(dialog);
    }
    // Puts dialog in place of the font dialog: the font chosen from current, or none.
    static void SetFontDialog(
        TForm1 &window, std::function<std::optional<QFont>(const QFont &current)> dialog)
    {
        window.ChooseFont = std::move(dialog);
    }

    static const QStringList &FolderHistory(const TSearch &search) { return search.FolderHistory; }
    static const QStringList &SearchTextHistory(const TSearch &search)
    {
        return search.SearchTextHistory;
    }
    // A history and its box's items, the box's text left empty, as a start restores them.
    static void SetFolderHistory(TSearch &search, const QStringList &folders)
    {
        SetHistory(search.Folder, search.FolderHistory, folders);
    }
    static void SetSearchTextHistory(TSearch &search, const QStringList &texts)
    {
        SetHistory(search.FindText, search.SearchTextHistory, texts);
    }
    static bool Searching(const TSearch &search) { return search.Searching; }
    // Puts dialog in place of the folder dialog: the chosen folder, or "" for a cancel.
    static void SetFolderDialog(TSearch &search, std::function<QString(QWidget *owner)> dialog)
    {
        search.SelectFolder = std::move(dialog);
    }

private:
    static void SetHistory(QComboBox *box, QStringList &history, const QStringList &entries)
    {
        history = entries;
        box->clear();
        box->addItems(entries);
        box->setEditText(QString());
    }
};

// Loads path in window and waits until the window has seen its indexing end.
void LoadAndWait(TForm1 &window, const QString &path);
