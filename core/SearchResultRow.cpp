#include "SearchResultRow.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

SearchResultRow SearchResultRow::Of(const QString &name, const QString &directory)
{
    const QString path = directory + u'/' + name;
    return { name, DirectoryCell(directory), SizeCell(path),
        LastModifiedCell(QFileInfo(path).lastModified()) };
}

QString SearchResultRow::DirectoryCell(const QString &directory)
{
    return directory.endsWith(u'/') ? directory : directory + u'/';
}

QString SearchResultRow::SizeCell(const QString &path)
{
    // Opening anything but a regular file (a pipe put there meanwhile) could block.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::number(file.size());
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
        text += row.Path() + u'\t' + row.Size + u'\t' + row.LastModified + QLatin1String("\r\n");
    }
    return text;
}
