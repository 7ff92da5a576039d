// brimlet: the desktop viewer for ASC X12 interchange files.

#include "IndexFileCleanup.h"
#include "StartUp.h"

#include <QApplication>
#include <QFile>

#include <csignal>

int main(int argc, char *argv[])
{
    // Taken before Qt reads its own options out of argv, so that every path arrives as given.
    QStringList parameters;
    for (int i = 1; i < argc; ++i)
        parameters.append(QFile::decodeName(argv[i]));
    QApplication app(argc, argv);
    // Ended by the session or by "kill", the viewer leaves no index file behind.
    IndexFileCleanup::RemoveOnSignals({ SIGINT, SIGTERM, SIGHUP });
    StartUp startUp(parameters);
    return startUp.Run();
}
