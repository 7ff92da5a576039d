#include "WindowProbe.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

bool WindowProbe::Loading(const TForm1 &window)
{
    return window.LoadTimer->isActive();
}

bool WindowProbe::WaitForLoad(TForm1 &window, int timeout)
{
    QElapsedTimer waited;
    waited.start();
    while (Loading(window)) {
        if (waited.elapsed() > timeout)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void LoadAndWait(TForm1 &window, const QString &path)
{
    window.LoadFile(path);
    EXPECT_TRUE(WindowProbe::WaitForLoad(window)) << "the load did not end";
}
