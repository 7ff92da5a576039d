#include "frmAbout.h"

#include "SplashPicture.h"
#include "WindowFont.h"

#include <QLabel>

TAbout::TAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("About"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("About Brimlet"));
    setAccessibleName(windowTitle());
    setFixedSize(SplashPicture::Width, SplashPicture::Height);
    // The same picture as the splash's; Esc closes the window.
    auto *picture = new QLabel(this);
    picture->setPixmap(SplashPicture::Draw());
    picture->setGeometry(rect());
    picture->setAccessibleName(QStringLiteral("Brimlet Zudozazir Edition"));
}
