#pragma once

#include <QString>

// bench_load's child process: opens a file in an offscreen main window as a user would, times
// what the user waits for while it loads and after, and prints the figures as "name value"
// lines (and "skip name reason" for a command the file has no target for) on stdout. A run
// that goes wrong says why on stderr and gives a non-zero exit status.
namespace LoadSession {

int Run(int argc, char *argv[], const QString &path);

} // namespace LoadSession
