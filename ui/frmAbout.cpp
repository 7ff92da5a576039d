#include "frmAbout.h"

#include "SplashPicture.h"
#include "WindowFont.h"

TAbout::TAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("About"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("About Brimlet"));
    setAccessibleName(windowTitle());
    setFixedSize(SplashPicture::Width, SplashPicture::Height);
}
