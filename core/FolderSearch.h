#pragma once

#include "SearchResultRow.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class FileMaskList;
struct FolderEntry;
class OpenFolder;
class SegmentTextMatcher;
class VisitedFolders;

// What the user asked Find in Files for, each text exactly as typed.
struct FolderSearchInputs
{
    QString Folder; // "" searches from the root folder
    QString SearchText;
    QString Filespec = QStringLiteral("*");
    bool MatchCase = false;
    bool SearchSubdirectories = false;
};

// A file to be read: its name as listed, and the folder text it was found under.
struct SearchCandidate
{
    QString FileName;
    QString Directory;

    QString Path() const { return Directory + u'/' + FileName; }
};

// Find in Files: lists the files of a folder (and optionally of every folder below it) whose
// names match the file spec, reads each one the segment reader accepts as an X12 interchange
// until a segment holds the search text, and reports the files that do. It talks to its window
// only through callbacks; any of them may be left empty.
class FolderSearch
{
public:
    struct Callbacks
    {
        std::function<void(const QString &)> Status;
        // Called once the top folder is listed: the moment to update the input histories.
        std::function<void()> UpdateHistories;
        // Called when the candidate list is complete, before any file is read: the moment to
        // clear the results of an earlier search.
        std::function<void()> ClearResults;
        std::function<void(const SearchResultRow &)> AppendRow;
        // Asked after each candidate file; a window handles its pending events here.
        std::function<bool()> CancelRequested;
        // A file that could not be read to the end (not one that is no X12 interchange), or a
        // folder that could not be listed: its path and what went wrong, in a sentence.
        std::function<void(const QString &path, const QString &message)> Problem;
    };

    enum class Outcome { Completed, Cancelled };

    static const QString BuildingStatus; // "Building file list...."
    static const QString NotX12Suffix; // " - not an ASC X12 file."
    static const QString CancelledStatus; // "Cancelled."
    static const QString CompleteStatus; // "Complete."

    FolderSearch(FolderSearchInputs inputs, Callbacks callbacks);
    ~FolderSearch();

    // Runs the whole search. No file, however it fails, ends it early; only a cancellation,
    // which takes effect after the file being read.
    Outcome Run();

    // The number of result rows appended by Run.
    qsizetype RowCount() const { return rowCount_; }
    // The number of files and folders Run could not search.
    qsizetype ProblemCount() const { return problemCount_; }

private:
    QList<SearchCandidate> ListCandidates();
    void AddSubDirs(QList<SearchCandidate> &candidates, const QString &folder);
    void SearchFile(const SearchCandidate &candidate, SegmentTextMatcher &matcher);
    void Report(const QString &status);
    QList<FolderEntry> List(const QString &folder);
    void ReportProblem(const QString &path, const QString &message);

    FolderSearchInputs inputs_;
    Callbacks callbacks_;
    std::unique_ptr<FileMaskList> masks_;
    std::unique_ptr<VisitedFolders> visited_;
    std::unique_ptr<OpenFolder> folder_; // the folder of the candidate being read
    qsizetype rowCount_ = 0;
    qsizetype problemCount_ = 0;
};
