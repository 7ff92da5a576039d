#include "ReplaceFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString Reason(const QFileDevice &file)
{
    const QString reason = file.errorString();
    return reason.isEmpty() ? QStringLiteral("Unknown error") : reason;
}

} // namespace

std::optional<QString> ReplaceFile(
    const QString &path, QByteArrayView bytes, std::optional<QFileDevice::Permissions> permissions)
{
    // When the folder cannot be made, opening the file below reports why.
    QDir().mkpath(QFileInfo(path).absolutePath());

    QSaveFile file(path);
    // Unbuffered, so that every write reaches the system here and a short one is seen: a
    // buffered save flushes only while committing, where a failed flush goes unnoticed and the
    // cut-off file would still be renamed over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Reason(file);
    qsizetype done = 0;
    while (done < bytes.size()) {
        // A short write is retried for the rest, so that a lasting failure comes back with its
        // reason (disk full, file too large) rather than as a silent partial write.
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = Reason(file);
            file.cancelWriting();
            return reason;
        }
        done += qsizetype(written);
    }
    if (permissions && !file.setPermissions(*permissions)) {
        const QString reason = Reason(file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return Reason(file);
    return std::nullopt;
}
