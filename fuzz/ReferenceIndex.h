#pragma once

#include <QByteArray>

#include <utility>
#include <vector>

// A plain byte-by-byte model of how the segment reader cuts a file into segments, written
// separately from the reader so that the fuzz target can compare the two.
struct ReferenceIndex
{
    std::vector<std::pair<qint64, qint64>> records; // offset, length
    std::vector<char> elementSeparators; // of each record's interchange
    char firstTerminator = 0;

    // The file must have been accepted by the reader ("ISA" first, after an optional
    // byte-order mark, and at least 127 bytes from there).
    explicit ReferenceIndex(const QByteArray &file);
};
