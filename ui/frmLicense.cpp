#include "frmLicense.h"

#include "ProductInfo.h"
#include "WindowFont.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The designed client area, and how far the text's bottom and the button's corner keep from
// the window's lower right corner.
constexpr QSize DesignedSize(531, 391);
constexpr int TextBottomGap = 391 - 351;
constexpr QPoint OkFromCorner(531 - 441, 391 - 358);

} // namespace

TLicense::TLicense(QWidget *parent)
    : QDialog(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
            | Qt::WindowCloseButtonHint)
    , RichEdit1(new QPlainTextEdit(this))
    , Ok(new QPushButton(QStringLiteral("Ok"), this))
{
    setObjectName(QStringLiteral("License"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("Brimlet Zudozazir Edition License"));
    setAccessibleName(windowTitle());

    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAccessibleName(QStringLiteral("License agreement"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    RichEdit1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setPlainText(ProductInfo::LicenseText());

    Ok->setObjectName(QStringLiteral("Ok"));
    Ok->resize(75, 25);
    Ok->setDefault(true);
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);

    resize(DesignedSize);
}

void TLicense::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (lastPosition_)
        move(*lastPosition_);
    Ok->setFocus();
}

void TLicense::hideEvent(QHideEvent *event)
{
    lastPosition_ = pos();
    QDialog::hideEvent(event);
}

void TLicense::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    RichEdit1->setGeometry(0, 0, width(), qMax(0, height() - TextBottomGap));
    Ok->move(width() - OkFromCorner.x(), height() - OkFromCorner.y());
}

void TLicense::keyPressEvent(QKeyEvent *event)
{
    // Esc presses Ok, as Enter does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Ok->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
