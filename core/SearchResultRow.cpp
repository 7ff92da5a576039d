#include "SearchResultRow.h"

#include "FileNames.h"

#include <QLocale>

#include <sys/stat.h>

SearchResultRow SearchResultRow::Of(const QString &name, const QString &directory, int folderFd)
{
    // A file gone since it was read has neither size nor date.
    struct stat info
    {
    };
    const bool known = folderFd >= 0
        ? ::fstatat(folderFd, FileNames::Encode(name).constData(), &info, 0) == 0
        : ::stat(FileNames::Encode(QString(directory + u'/' + name)).constData(), &info) == 0;
    QDateTime lastModified;
    if (known) {
        lastModified = QDateTime::fromMSecsSinceEpoch(
            qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000);
    }
    return { name, DirectoryCell(directory),
        known && S_ISREG(info.st_mode) ? QString::number(qint64(info.st_size))
                                       : QStringLiteral("?"),
        LastModifiedCell(lastModified) };
}

QString SearchResultRow::DirectoryCell(const QString &directory)
{
    return directory.endsWith(u'/') ? directory : directory + u'/';
}

QString SearchResultRow::LastModifiedCell(const QDateTime &localTime)
{
    if (!localTime.isValid())
        return {};
    const QLocale locale = QLocale::system();
    QString cell = locale.toString(localTime.date(), QLocale::ShortFormat);
    const QTime time = localTime.time();
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        cell += u' ' + locale.toString(time, QLocale::LongFormat);
    return cell;
}

QString SearchResultRow::ListText(const QList<SearchResultRow> &rows)
{
    QString text;
    for (const SearchResultRow &row : rows) {
        if (row.Filename.isEmpty())
            continue;
        text += FileNames::Display(row.Path()) + u'\t' + row.Size + u'\t' + row.LastModified
            + QLatin1String("\r\n");
    }
    return text;
}
