#pragma once

#include <QStringList>

// brimlet-cli explain FILE SEGMENT: the rows of one segment as the viewer's element panel shows
// them, one tab-separated "REFERENCE NAME VALUE MEANING" line each.
namespace ExplainCommand {

// Runs the command on its arguments (FILE SEGMENT) and gives the exit status: 0 when the rows
// were written, 1 when the file or the segment is refused, -1 for wrong usage.
int Run(const QStringList &args);

} // namespace ExplainCommand
