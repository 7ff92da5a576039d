#pragma once

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

#include <optional>

// Replaces the file at path with bytes as one step: they go to a temporary file in the same
// folder, which is renamed over the old file only once every byte is written, so a failed or
// interrupted write leaves the old file as it was and no temporary file behind. A missing
// folder is created. permissions, when given, are set on the new file before it takes the old
// one's place. Returns the system's reason on failure, nothing on success.
std::optional<QString> ReplaceFile(const QString &path, QByteArrayView bytes,
    std::optional<QFileDevice::Permissions> permissions = std::nullopt);
