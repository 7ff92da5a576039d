#include "SettingsFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace SettingsFolder {

QString Path()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

QString FilePath(const QString &folder)
{
    return folder + u'/' + QLatin1String(FileName);
}

} // namespace SettingsFolder
