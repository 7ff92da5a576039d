#pragma once

#include "EnvelopeOutline.h"

#include <QByteArray>

// The outline's records in words, as the command line's outline and the Structure pane show
// them: "IN, control 7, sender SENDERID, receiver RECEIVERID, version 004010, 2 sets, closed by
// GE at 20". Values are Latin-1 bytes from the file, control characters by their code.
namespace OutlineWords {

struct Options
{
    bool Control = true; // name the control number (the pane shows it in the node's label)
    bool Open = false; // the record is still being read: nothing is said of its closing
};

QByteArray Interchange(const EnvelopeOutline &outline, qint64 index, Options options = {});
QByteArray Group(const EnvelopeOutline &outline, qint64 index, Options options = {});
QByteArray Set(const EnvelopeOutline &outline, qint64 index, Options options = {});

} // namespace OutlineWords
