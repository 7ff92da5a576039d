#pragma once

#include <QByteArray>
#include <QtGlobal>

class LineSource;

// Where the commands that cross a file should end, read from the file's own lines, so that the
// load benchmark can time them on any file. Lines count from 0; -1 where the file has no target.
struct CommandTargets
{
    // The longest step of Next Segment of This Type: two neighbouring segments of one type
    // with the most lines between them.
    QByteArray stepType;
    qint64 stepFrom = -1;
    qint64 stepTo = -1;
    // Go To Line by type: the last ST and how many there are.
    qint64 setCount = 0;
    qint64 lastSet = -1;
    // What a find should look for: the start of the last segment, up to its first control byte.
    QByteArray lastText;

    // One pass over every line of a source that is complete.
    static CommandTargets Of(LineSource &lines);
};
