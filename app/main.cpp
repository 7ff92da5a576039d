// brimlet: the desktop viewer for ASC X12 interchange files.

#include "FileNames.h"
#include "IndexFileCleanup.h"
#include "StartUp.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    // Taken before Qt reads its own options out of argv, so that every path arrives as given,
    // byte for byte.
    const QStringList parameters = FileNames::Arguments(argc, argv);
    QApplication app(argc, argv);
    // Ended by the session or by "kill", the viewer leaves no index file behind.
    IndexFileCleanup::RemoveOnSignals({ SIGINT, SIGTERM, SIGHUP });
    StartUp startUp(parameters);
    return startUp.Run();
}
