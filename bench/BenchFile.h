#pragma once

#include "X12Generator.h"

#include <QString>

// The generated interchange a benchmark runs on: folder/<prefix>-<size>-<breaks>.x12, written
// by X12Generator when it is missing or smaller than size. Returns its path, or an empty text
// when it cannot be written. secondInterchange: see X12Generator::Options; use a prefix of its
// own for such files.
QString EnsureBenchFile(const QString &folder, const QString &prefix, qint64 size,
    X12Generator::LineBreaks breaks, const QString &breaksName, bool secondInterchange = false);
