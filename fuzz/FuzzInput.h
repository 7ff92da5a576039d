#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Helpers shared by the fuzz targets.
namespace FuzzInput {

// A file in the temporary folder holding bytes; the same path every run of one process.
QString WriteScratchFile(const QByteArray &bytes);

} // namespace FuzzInput
