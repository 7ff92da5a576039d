#include "DocumentOpener.h"
#include "MessageBoxes.h"
#include "RawDataAccessible.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char **argv)
{
    // Widget tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnvironment environment;
    QApplication app(argc, argv);
    // No test may block on a modal box: messages nobody records are dropped.
    MessageBoxes::SetReporter([](MessageBoxes::Kind, const QString &, const QString &) {});
    // Nor open a browser or a PDF viewer.
    DocumentOpener::SetOpener([](const QUrl &) { return true; });
    RawDataAccessible::Install();
    testing::InitGoogleTest(&argc, argv);
    return environment.Run();
}
