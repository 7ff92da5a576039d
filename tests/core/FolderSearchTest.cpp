#include "FolderSearch.h"

#include "TestEnvironment.h"
#include "TestFolder.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray X12(const QByteArray &segment)
{
    return X12Builder::Interchange(
        { "GS*PO*SENDER*RECEIVER*20240102*0930*7*X*004010", segment, "GE*1*7", "IEA*1*000000007" });
}

// A search run with every callback recorded in order.
struct SearchRun
{
    QStringList events; // "status: ...", "histories", "clear", "row: PATH"
    QList<SearchResultRow> rows;
    FolderSearch::Outcome outcome = FolderSearch::Outcome::Completed;
    int cancelAsks = 0;

    QStringList Paths() const
    {
        QStringList paths;
        for (const SearchResultRow &row : rows)
            paths.append(row.Path());
        return paths;
    }
};

class FolderSearchTest : public testing::Test
{
protected:
    QString Root() const { return dir_.path(); }

    SearchRun Search(FolderSearchInputs inputs, std::function<void(const QString &)> onStatus = {},
        int cancelAfter = -1)
    {
        SearchRun run;
        FolderSearch::Callbacks callbacks;
        callbacks.Status = [&](const QString &text) {
            run.events.append(QLatin1String("status: ") + text);
            if (onStatus)
                onStatus(text);
        };
        callbacks.UpdateHistories = [&] { run.events.append(QStringLiteral("histories")); };
        callbacks.ClearResults = [&] { run.events.append(QStringLiteral("clear")); };
        callbacks.AppendRow = [&](const SearchResultRow &row) {
            run.events.append(QLatin1String("row: ") + row.Path());
            run.rows.append(row);
        };
        callbacks.CancelRequested = [&] { return ++run.cancelAsks == cancelAfter; };
        FolderSearch search(std::move(inputs), callbacks);
        run.outcome = search.Run();
        EXPECT_EQ(search.RowCount(), run.rows.size());
        return run;
    }

    FolderSearchInputs Inputs(
        const QString &text, const QString &filespec = QStringLiteral("*"), bool subfolders = true)
    {
        FolderSearchInputs inputs;
        inputs.Folder = Root();
        inputs.SearchText = text;
        inputs.Filespec = filespec;
        inputs.SearchSubdirectories = subfolders;
        return inputs;
    }

    TestFolder dir_;
};

TEST_F(FolderSearchTest, StepsInOrderWithSubfoldersBeforeTheirOwnFiles)
{
    // One subfolder per level, so that the unsorted listing order does not matter.
    const QString a = dir_.Write("a.x12", X12("N1*ST*MARK"));
    const QString b = dir_.Write("s1/b.x12", X12("N1*ST*MARK"));
    const QString c = dir_.Write("s1/t/c.x12", X12("N1*ST*MARK"));
    const QString d
        = dir_.Write("s1/t/sub.x12/d.X12", X12("N1*ST*MARK")); // a folder matching the file spec
    dir_.Write("s1/t/other.txt", X12("N1*ST*MARK"));
    const QString missed = dir_.Write("s1/t/sub.x12/deep/miss.x12", X12("N1*ST*NONE"));

    const SearchRun run = Search(Inputs("mark", "*.x12"));
    EXPECT_EQ(run.outcome, FolderSearch::Outcome::Completed);
    EXPECT_EQ(run.events,
        QStringList({ "status: Building file list....", "histories", "clear", "status: " + a,
            "row: " + a, "status: " + missed, "status: " + d, "row: " + d, "status: " + c,
            "row: " + c, "status: " + b, "row: " + b, "status: Complete." }))
        << qPrintable(run.events.join(u'\n'));
    // Files of the searched folder first, then each subfolder's subfolders before its own files.
    ASSERT_EQ(run.rows.size(), 4);
    EXPECT_EQ(run.rows[0].Filename, QLatin1String("a.x12"));
    EXPECT_EQ(run.rows[0].Directory, Root() + "/");
    EXPECT_EQ(run.rows[1].Directory, Root() + "/s1/t/sub.x12/");
    EXPECT_EQ(run.rows[2].Directory, Root() + "/s1/t/");
    EXPECT_EQ(run.rows[3].Directory, Root() + "/s1/");
    EXPECT_EQ(run.cancelAsks, 5); // once after each candidate

    EXPECT_EQ(Search(Inputs("MARK", "*.x12", false)).Paths(), QStringList { a });
}

TEST_F(FolderSearchTest, FolderTextIsJoinedAsTyped)
{
    dir_.Write("a.x12", X12("N1*ST*MARK"));
    dir_.Write("sub/b.x12", X12("N1*ST*MARK"));
    FolderSearchInputs inputs = Inputs("MARK");
    inputs.Folder = Root() + "/";
    const SearchRun run = Search(inputs);
    ASSERT_EQ(run.rows.size(), 2);
    EXPECT_EQ(run.rows[0].Directory, Root() + "/");
    EXPECT_EQ(run.rows[1].Directory, Root() + "//sub/");
    EXPECT_EQ(run.rows[1].Path(), Root() + "//sub/b.x12");
}

TEST_F(FolderSearchTest, CaseIsIgnoredForAsciiLettersUnlessMatchCase)
{
    const QString upper = dir_.Write("upper.x12", X12("N1*ST*ACME"));
    FolderSearchInputs inputs = Inputs("acme");
    EXPECT_EQ(Search(inputs).Paths(), QStringList { upper });
    inputs.MatchCase = true;
    EXPECT_TRUE(Search(inputs).rows.isEmpty());
}

TEST_F(FolderSearchTest, TextIsFoundWithinOneSegmentOnly)
{
    // No line breaks: the bytes "ACME~N3" are contiguous in the file but span two segments.
    dir_.Write("oneline.x12",
        X12Builder::Isa() + "GS*PO*S*R*20240102*0930*7*X*004010~N1*ST*ACME~N3*MAIN~IEA*1*7~");
    EXPECT_TRUE(Search(Inputs("ACME~N3")).rows.isEmpty());
    EXPECT_TRUE(Search(Inputs("ACMEN3")).rows.isEmpty());
    EXPECT_EQ(Search(Inputs("N3*MAIN")).rows.size(), 1);

    // A segment's text ends at a NUL byte: what follows it is in the file but in no segment.
    QDir(Root()).removeRecursively();
    QDir().mkpath(Root());
    dir_.Write("nul.x12", X12(QByteArray("N1*ST*\0MARK", 11)));
    EXPECT_TRUE(Search(Inputs("MARK")).rows.isEmpty());
    // Where the text first occurs in the bytes no segment holds it; a later segment does.
    dir_.Write("later.x12", X12Builder::Interchange({ QByteArray("N1*ST*\0MARK", 11), "N3*MARK" }));
    EXPECT_EQ(Search(Inputs("MARK")).Paths(), QStringList { Root() + "/later.x12" });
}

TEST_F(FolderSearchTest, TextAcrossAReadBlockBoundaryIsFound)
{
    // Ordinary segments up to just before 1 MiB, then one that holds MARK across that offset.
    QByteArray bytes = X12Builder::Isa() + "\r\n";
    const QByteArray segment = "REF*ZZ*" + QByteArray(90, 'A') + "~\r\n";
    while (bytes.size() + segment.size() < (1 << 20) - 20)
        bytes += segment;
    bytes += "REF*ZZ*" + QByteArray((1 << 20) - 2 - bytes.size() - 7, 'B') + "MARK~\r\n";
    ASSERT_EQ(bytes.indexOf("MARK"), (1 << 20) - 2);
    bytes += "IEA*1*000000007~\r\n";
    dir_.Write("large.x12", bytes);
    EXPECT_EQ(Search(Inputs("MARK")).rows.size(), 1);
    EXPECT_EQ(Search(Inputs("mark")).rows.size(), 1);
}

TEST_F(FolderSearchTest, FailingCandidatesAreSkippedAndTheSearchGoesOn)
{
    const QString notes = dir_.Write("notes.x12",
        "MARK but plain text, long enough to pass any size check "
        "that a reader might make before it looks at the bytes "
        "of the interchange header at the start.");
    const QString empty = dir_.Write("empty.x12", "");
    const QString lower = dir_.Write("lower.x12", "isa" + X12("N1*ST*MARK").mid(3));
    const QString fifo = Root() + "/pipe.x12";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Read after every file of the top folder: it vanishes before its turn.
    const QString first = dir_.Write("sub/first.x12", X12("N1*ST*MARK"));
    const QString gone = dir_.Write("sub/deeper/gone.x12", X12("N1*ST*MARK"));
    // Vanishes while it is being read: still listed, its size and date no longer readable.
    const QString vanishing = dir_.Write("sub/deeper/deepest/vanishing.x12", X12("N1*ST*MARK"));

    const SearchRun run = Search(Inputs("MARK"), [&](const QString &status) {
        if (status == vanishing) {
            QFile::remove(gone);
            QFile::remove(vanishing);
        }
    });
    const QString suffix = FolderSearch::NotX12Suffix;
    for (const QString &refused : { notes, empty, lower, fifo, gone })
        EXPECT_TRUE(run.events.contains("status: " + refused + suffix)) << qPrintable(refused);
    EXPECT_EQ(run.events.last(), QLatin1String("status: Complete."));
    EXPECT_EQ(run.Paths(), QStringList({ vanishing, first }));
    ASSERT_EQ(run.rows.size(), 2);
    EXPECT_EQ(run.rows[0].Size, QLatin1String("?"));
    EXPECT_EQ(run.rows[0].LastModified, QString());
    EXPECT_EQ(run.rows[1].Size, QString::number(X12("N1*ST*MARK").size()));
}

TEST_F(FolderSearchTest, LinkedFoldersAreEnteredOnceAndCyclesEndAtOnce)
{
    const QString top = dir_.Write("top.x12", X12("N1*ST*MARK"));
    const QString inSub = dir_.Write("sub/in.x12", X12("N1*ST*MARK"));
    ASSERT_TRUE(QFile::link(Root(), Root() + "/sub/up")); // back to the searched folder
    ASSERT_TRUE(QFile::link(Root() + "/sub", Root() + "/alias")); // a second way into sub
    ASSERT_TRUE(QFile::link(Root() + "/sub/self", Root() + "/sub/self")); // never resolves

    const SearchRun run = Search(Inputs("MARK"));
    ASSERT_EQ(run.rows.size(), 2) << qPrintable(run.Paths().join(u'\n'));
    EXPECT_EQ(run.rows[0].Path(), top);
    EXPECT_EQ(run.rows[1].Filename, QLatin1String("in.x12")); // through sub or through alias
}

TEST_F(FolderSearchTest, FoldersThatCannotBeListedAreSkipped)
{
    const QString readable = dir_.Write("b/found.x12", X12("N1*ST*MARK"));

    // A path too long for the system: listed as a folder by its parent, never opened.
    QString deep = Root() + "/a";
    while (deep.size() < 4200)
        deep += '/' + QString(200, u'd');
    const QByteArray deepName = QFile::encodeName(deep.mid(Root().size() + 1));
    const int rootFd = open(QFile::encodeName(Root()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(rootFd, 0);
    int fd = rootFd;
    for (const QByteArray &part : deepName.split('/')) {
        ASSERT_EQ(mkdirat(fd, part.constData(), 0700), 0);
        const int next = openat(fd, part.constData(), O_RDONLY | O_DIRECTORY);
        if (fd != rootFd)
            close(fd);
        fd = next;
        ASSERT_GE(fd, 0);
    }
    const int file = openat(fd, "lost.x12", O_WRONLY | O_CREAT, 0600);
    const QByteArray bytes = X12("N1*ST*MARK");
    ASSERT_EQ(write(file, bytes.constData(), size_t(bytes.size())), bytes.size());
    close(file);
    close(fd);
    close(rootFd);

    // Permissions stop the listing only for a user without the right to override them.
    const QString locked = dir_.Write("c/locked/hidden.x12", X12("N1*ST*MARK"));
    QFile::setPermissions(Root() + "/c/locked", {});
    const bool lockHolds = !QDir(Root() + "/c/locked").isReadable();

    const SearchRun run = Search(Inputs("MARK"));
    QFile::setPermissions(
        Root() + "/c/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess::execute(QStringLiteral("rm"), { QStringLiteral("-rf"), Root() + "/a" });

    EXPECT_EQ(run.events.last(), QLatin1String("status: Complete."));
    if (lockHolds)
        EXPECT_EQ(run.Paths(), QStringList { readable });
    else
        EXPECT_EQ(run.Paths().size(), 2) << "readable and locked";
    EXPECT_TRUE(run.Paths().contains(readable));
}

TEST_F(FolderSearchTest, CancelTakesEffectAfterTheCurrentFile)
{
    const QString first = dir_.Write("a/b/c/first.x12", X12("N1*ST*MARK"));
    dir_.Write("a/b/second.x12", X12("N1*ST*MARK"));
    dir_.Write("a/third.x12", X12("N1*ST*MARK"));
    const SearchRun run = Search(Inputs("MARK"), {}, 1);
    EXPECT_EQ(run.outcome, FolderSearch::Outcome::Cancelled);
    EXPECT_EQ(run.Paths(), QStringList { first });
    EXPECT_EQ(run.cancelAsks, 1);
    EXPECT_EQ(run.events.last(), QLatin1String("status: Cancelled."));
}

TEST_F(FolderSearchTest, SearchesThatListNoCandidates)
{
    dir_.Write("sub/a.x12", X12("N1*ST*MARK"));
    FolderSearchInputs missing = Inputs("MARK");
    missing.Folder = Root() + "/missing";
    FolderSearchInputs emptySpec = Inputs("MARK", "");
    for (const FolderSearchInputs &inputs : { missing, emptySpec }) {
        const SearchRun run = Search(inputs);
        EXPECT_EQ(run.events,
            QStringList(
                { "status: Building file list....", "histories", "clear", "status: Complete." }));
        EXPECT_EQ(run.outcome, FolderSearch::Outcome::Completed);
    }
}

TEST_F(FolderSearchTest, EmptyFolderSearchesFromTheRoot)
{
    FolderSearchInputs inputs = Inputs("MARK", "*", false);
    inputs.Folder = QString();
    const QStringList rootNames
        = QDir(QStringLiteral("/"))
              .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (QString status : Search(inputs).events.filter(QStringLiteral("status: /"))) {
        status.remove(0, int(qstrlen("status: /")));
        status.remove(FolderSearch::NotX12Suffix);
        EXPECT_TRUE(rootNames.contains(status)) << qPrintable(status);
    }
}

TEST(SearchResultRowTest, DirectoryCellEndsInOneSlash)
{
    const struct
    {
        const char *directory;
        const char *cell;
    } cases[] = { { "", "/" }, { "/", "/" }, { "/data/In", "/data/In/" },
        { "/data/In/", "/data/In/" }, { "/data/In//Sub", "/data/In//Sub/" } };
    for (const auto &c : cases)
        EXPECT_EQ(
            SearchResultRow::DirectoryCell(QLatin1String(c.directory)), QLatin1String(c.cell));
}

TEST(SearchResultRowTest, LastModifiedLeavesOutMidnight)
{
    const QLocale locale = QLocale::system();
    const QDate date(2024, 3, 9);
    const QString shortDate = locale.toString(date, QLocale::ShortFormat);
    EXPECT_EQ(SearchResultRow::LastModifiedCell(QDateTime(date, QTime(0, 0))), shortDate);
    EXPECT_EQ(SearchResultRow::LastModifiedCell(QDateTime(date, QTime(0, 0, 0, 500))), shortDate);
    for (const QTime time : { QTime(13, 45, 30), QTime(0, 0, 1), QTime(0, 1), QTime(1, 0) }) {
        EXPECT_EQ(SearchResultRow::LastModifiedCell(QDateTime(date, time)),
            shortDate + u' ' + locale.toString(time, QLocale::LongFormat));
    }
    EXPECT_EQ(SearchResultRow::LastModifiedCell(QDateTime()), QString());
}

TEST(SearchResultRowTest, ListTextIsOneCrLfLinePerNamedRow)
{
    const QList<SearchResultRow> rows = { { "a.x12", "/in/", "120", "3/9/24 1:45:30 PM" },
        { "", "/in/", "", "" }, { "b c.edi", "/", "?", "" } };
    EXPECT_EQ(SearchResultRow::ListText(rows),
        QStringLiteral("/in/a.x12\t120\t3/9/24 1:45:30 PM\r\n/b c.edi\t?\t\r\n"));
    EXPECT_EQ(SearchResultRow::ListText({ { "", "", "", "" } }), QString());
    EXPECT_EQ(SearchResultRow::ListText({}), QString());
}

TEST_F(FolderSearchTest, RowCellsOfAFoundFile)
{
    const QString path = dir_.Write("found.x12", X12("N1*ST*MARK"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QDateTime midnight(QDate(2024, 3, 9), QTime(0, 0));
    ASSERT_TRUE(file.setFileTime(midnight, QFileDevice::FileModificationTime));
    file.close();

    const SearchRun run = Search(Inputs("MARK"));
    ASSERT_EQ(run.rows.size(), 1);
    EXPECT_EQ(run.rows[0].Filename, QLatin1String("found.x12"));
    EXPECT_EQ(run.rows[0].Directory, Root() + "/");
    EXPECT_EQ(run.rows[0].Size, QString::number(X12("N1*ST*MARK").size()));
    EXPECT_EQ(run.rows[0].LastModified,
        QLocale::system().toString(midnight.date(), QLocale::ShortFormat));
}

} // namespace
