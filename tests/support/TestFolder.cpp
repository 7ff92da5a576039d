#include "TestFolder.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFileInfo>

QString TestFolder::Write(const QString &relative, const QByteArray &bytes) const
{
    QString path = filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    WriteBytes(path, bytes);
    return path;
}
