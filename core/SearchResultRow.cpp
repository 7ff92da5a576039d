#include "SearchResultRow.h"

#include "FileNames.h"

#include <QLocale>

#include <sys/stat.h>

SearchResultRow SearchResultRow::Of(const QString &name, const QString &directory)
{
    const QString path = directory + u'/' + name;
    // By the name's bytes: not every name is UTF-8.
    struct stat info
    {
    };
    const bool found = ::stat(FileNames::Encode(path).constData(), &info) == 0;
    const QDateTime modified = found
        ? QDateTime::fromMSecsSinceEpoch(
            qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000, Qt::LocalTime)
        : QDateTime();
    return { name, DirectoryCell(directory), SizeCell(path), LastModifiedCell(modified) };
}

QString SearchResultRow::DirectoryCell(const QString &directory)
{
    return directory.endsWith(u'/') ? directory : directory + u'/';
}

QString SearchResultRow::SizeCell(const QString &path)
{
    // Only a regular file has a size to show (a pipe put there meanwhile has none).
    struct stat info
    {
    };
    if (::stat(FileNames::Encode(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return QStringLiteral("?");
    return QString::number(qint64(info.st_size));
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
