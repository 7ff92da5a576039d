#include "FolderSearch.h"

#include "Exception.h"
#include "FileMask.h"
#include "FileNames.h"
#include "FolderListing.h"
#include "GFileIO.h"
#include "OpenFolder.h"
#include "SegmentTextMatcher.h"
#include "VisitedFolders.h"

#include <algorithm>
#include <exception>
#include <new>

const QString FolderSearch::BuildingStatus = QStringLiteral("Building file list....");
const QString FolderSearch::NotX12Suffix = QStringLiteral(" - not an ASC X12 file.");
const QString FolderSearch::CancelledStatus = QStringLiteral("Cancelled.");
const QString FolderSearch::CompleteStatus = QStringLiteral("Complete.");

namespace {

// Where the text first occurs in the file's bytes, segment boundaries or not, or -1. Every
// segment's text is a run of the file's bytes, so a file without it holds no segment with it,
// and most files are ruled out here without cutting them into segments.
qint64 FirstInFile(TGFile &reader, SegmentTextMatcher &matcher)
{
    // Blocks overlap by the text's length less one, so that no occurrence falls between two.
    const qsizetype textLength = matcher.PreparedText().size();
    const qsizetype blockSize = std::max(ReadAheadBuffer::DefaultBlockSize, 2 * textLength);
    const qsizetype step = blockSize - std::max<qsizetype>(textLength - 1, 0);
    for (qint64 pos = 0;; pos += step) {
        const QByteArrayView block = reader.FileBytes(pos, blockSize);
        const qsizetype at = matcher.IndexIn(block);
        if (at >= 0)
            return pos + at;
        if (block.size() < blockSize)
            return -1;
    }
}

QString CannotSearch(const QString &path, const QString &reason)
{
    return QStringLiteral("\"%1\" could not be searched: %2").arg(FileNames::Display(path), reason);
}

} // namespace

FolderSearch::FolderSearch(FolderSearchInputs inputs, Callbacks callbacks)
    : inputs_(std::move(inputs))
    , callbacks_(std::move(callbacks))
{ }

FolderSearch::~FolderSearch() = default;

void FolderSearch::Report(const QString &status)
{
    if (callbacks_.Status)
        callbacks_.Status(status);
}

void FolderSearch::ReportProblem(const QString &path, const QString &message)
{
    ++problemCount_;
    if (callbacks_.Problem)
        callbacks_.Problem(path, message);
}

QList<FolderEntry> FolderSearch::List(const QString &folder)
{
    QString error;
    QList<FolderEntry> entries = FolderListing::Entries(folder + u'/', &error);
    if (!error.isEmpty())
        ReportProblem(folder,
            QStringLiteral("The folder \"%1\" could not be listed: %2")
                .arg(FileNames::Display(folder.isEmpty() ? QStringLiteral("/") : folder), error));
    return entries;
}

FolderSearch::Outcome FolderSearch::Run()
{
    Report(BuildingStatus);
    rowCount_ = 0;
    problemCount_ = 0;
    // Match case is taken once for the whole search.
    SegmentTextMatcher matcher(inputs_.SearchText, inputs_.MatchCase);
    const QList<SearchCandidate> candidates = ListCandidates();
    if (callbacks_.ClearResults)
        callbacks_.ClearResults();

    Outcome outcome = Outcome::Completed;
    for (const SearchCandidate &candidate : candidates) {
        SearchFile(candidate, matcher);
        if (callbacks_.CancelRequested && callbacks_.CancelRequested()) {
            outcome = Outcome::Cancelled;
            break;
        }
    }
    folder_.reset();
    Report(outcome == Outcome::Cancelled ? CancelledStatus : CompleteStatus);
    return outcome;
}

// Files of the top folder first, then those below it, each subfolder's subfolders before its
// own files. Every folder is listed once, and entered at most once even through links.
QList<SearchCandidate> FolderSearch::ListCandidates()
{
    // A listed name never holds a "/", so a mask that does matches nothing.
    masks_ = std::make_unique<FileMaskList>(FileMask::SplitMasks(inputs_.Filespec));
    visited_ = std::make_unique<VisitedFolders>();

    const QString &folder = inputs_.Folder;
    const QList<FolderEntry> top = List(folder);
    if (callbacks_.UpdateHistories)
        callbacks_.UpdateHistories();

    QList<SearchCandidate> candidates;
    for (const FolderEntry &entry : top) {
        if (!entry.IsDirectory && masks_->Matches(entry.Name))
            candidates.append({ entry.Name, folder });
    }
    if (inputs_.SearchSubdirectories) {
        visited_->Enter(folder + u'/');
        for (const FolderEntry &entry : top) {
            if (entry.IsDirectory)
                AddSubDirs(candidates, folder + u'/' + entry.Name);
        }
    }
    return candidates;
}

void FolderSearch::AddSubDirs(QList<SearchCandidate> &candidates, const QString &folder)
{
    if (!visited_->Enter(folder))
        return;
    const QList<FolderEntry> entries = List(folder);
    for (const FolderEntry &entry : entries) {
        if (entry.IsDirectory)
            AddSubDirs(candidates, folder + u'/' + entry.Name);
    }
    for (const FolderEntry &entry : entries) {
        if (!entry.IsDirectory && masks_->Matches(entry.Name))
            candidates.append({ entry.Name, folder });
    }
}

void FolderSearch::SearchFile(const SearchCandidate &candidate, SegmentTextMatcher &matcher)
{
    const QString path = candidate.Path();
    // The candidates of one folder follow one another: the folder is opened once for them all.
    if (!folder_ || folder_->Folder() != candidate.Directory) {
        folder_ = std::make_unique<OpenFolder>();
        folder_->Open(candidate.Directory);
    }
    bool found = false;
    try {
        QString refusal;
        const std::unique_ptr<TGFile> reader
            = TGFile::OpenInFolder(path, folder_->Fd(), candidate.FileName, refusal);
        if (!reader) {
            Report(path + NotX12Suffix);
            return;
        }
        Report(path);
        // The search only goes forward: no index file for any file.
        reader->KeepNoIndex();
        // A file whose bytes hold the text is read segment by segment, in order, until one
        // segment holds it. The segments that end before the first place the text occurs
        // cannot hold it, and are passed over unread.
        const qint64 first = FirstInFile(*reader, matcher);
        if (first >= 0) {
            reader->GotoSegment(reader->SegmentReaching(first + matcher.PreparedText().size() - 1));
            qint64 previous = 0;
            while (!found && reader->CurrentSegment() != previous) {
                found = matcher.Contains(reader->SegmentText());
                previous = reader->CurrentSegment();
                if (!found)
                    reader->GotoSegment(previous + 1);
            }
        }
    } catch (const Exception &e) {
        // A file that cannot be opened or fails while being read is skipped, and said to be.
        Report(path + NotX12Suffix);
        ReportProblem(path, CannotSearch(path, e.Message()));
        return;
    } catch (const std::bad_alloc &) {
        Report(path + NotX12Suffix);
        ReportProblem(path, CannotSearch(path, QStringLiteral("Out of memory.")));
        return;
    } catch (const std::exception &e) {
        Report(path + NotX12Suffix);
        ReportProblem(path, CannotSearch(path, QString::fromLocal8Bit(e.what())));
        return;
    }
    if (!found)
        return;
    ++rowCount_;
    if (callbacks_.AppendRow)
        callbacks_.AppendRow(
            SearchResultRow::Of(candidate.FileName, candidate.Directory, folder_->Fd()));
}
