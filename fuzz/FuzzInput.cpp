#include "FuzzInput.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace FuzzInput {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

QString ScratchPath(const QString &suffix)
{
    return QDir::tempPath() + QStringLiteral("/fuzz-input-%1").arg(getpid()) + suffix;
}

QString WriteScratchFile(const QByteArray &bytes)
{
    static const QString path = ScratchPath(QStringLiteral(".edi"));
    std::FILE *out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out || std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) != size_t(bytes.size())
        || std::fclose(out) != 0)
        std::abort();
    return path;
}

} // namespace FuzzInput
