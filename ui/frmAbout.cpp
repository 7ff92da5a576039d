#include "frmAbout.h"

#include "DocumentOpener.h"
#include "MessageBoxes.h"
#include "ProductInfo.h"
#include "SplashPicture.h"
#include "WindowFont.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

TAbout::TAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , Image1(new QLabel(this))
    , Ok(new QPushButton(QStringLiteral("Ok"), this))
    , Panel1(new QWidget(this))
{
    setObjectName(QStringLiteral("About"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("About Brimlet"));
    setAccessibleName(windowTitle());

    // The same picture as the splash's, filling the window.
    Image1->setObjectName(QStringLiteral("Image1"));
    SplashPicture::Show(this, Image1);

    Ok->setObjectName(QStringLiteral("Ok"));
    Ok->setGeometry(104, 240, 75, 25);
    Ok->setDefault(true);
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);

    // No border, no text: the logo shows through.
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(360, 216, 137, 57);
    Panel1->setCursor(Qt::PointingHandCursor);
    Panel1->setFocusPolicy(Qt::NoFocus);
    Panel1->setAccessibleName(QStringLiteral("The maker's web page"));
    Panel1->setToolTip(QString::fromLatin1(ProductInfo::MakerPageAddress));
    Panel1->installEventFilter(this);
}

void TAbout::Panel1Click()
{
    DocumentOpener::Open(ProductInfo::MakerPageUrl(), QStringLiteral("the maker's web page"));
}

void TAbout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    SplashPicture::CentreOnPrimaryScreen(this);
    Ok->setFocus();
}

void TAbout::keyPressEvent(QKeyEvent *event)
{
    // Esc presses Ok, as Enter does: the window closes with the result OK either way.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Ok->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TAbout::eventFilter(QObject *watched, QEvent *event)
{
    // A click: the left button released over the panel it was pressed on.
    if (watched == Panel1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton
            && Panel1->rect().contains(mouse->position().toPoint()))
            MessageBoxes::Guarded([&] { Panel1Click(); });
    }
    return QDialog::eventFilter(watched, event);
}
