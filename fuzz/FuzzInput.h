#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Helpers shared by the fuzz targets.
namespace FuzzInput {

// Ends the run, so that libFuzzer keeps the input, when a checked property does not hold.
void Check(bool condition);

// A path in the temporary folder of this process's own, ending in suffix.
QString ScratchPath(const QString &suffix);

// A file in the temporary folder holding bytes; the same path every run of one process.
QString WriteScratchFile(const QByteArray &bytes);

} // namespace FuzzInput
