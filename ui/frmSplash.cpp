#include "frmSplash.h"

#include "MessageBoxes.h"
#include "SplashPicture.h"
#include "WindowFont.h"

#include <QLabel>
#include <QShowEvent>
#include <QTimer>

TForm2::TForm2(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , Image1(new QLabel(this))
    , Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("Form2"));
    setFont(WindowFont());
    setWindowTitle(MessageBoxes::ApplicationTitle());
    setAccessibleName(QStringLiteral("Brimlet splash"));
    SplashPicture::Show(this, Image1);
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);
    // A coarse timer may fire up to 5% early; the splash stays the full second.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
}

void TForm2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm2::FormShow()
{
    SplashPicture::CentreOnPrimaryScreen(this);
    Timer1->start();
}

void TForm2::Timer1Timer()
{
    Timer1->stop();
    accept();
}
