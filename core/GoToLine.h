#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// The rules of the Go To Line dialog's two boxes.
namespace GoToLine {

// The line box's number when it is one that Go To accepts: a 32-bit integer above 0 in the
// form ToInt32 reads. Go To is enabled exactly when this has a value.
std::optional<qint32> LineNumber(QStringView lineBoxText);

// The segment type box's text as searched: leading and trailing blanks and control characters
// removed and the letters a to z upper-cased; nothing else changes.
QString CleanSegmentType(QStringView typeBoxText);

} // namespace GoToLine
