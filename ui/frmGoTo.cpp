#include "frmGoTo.h"

#include "WindowFont.h"

TGoToForm::TGoToForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("GoToForm"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("Go To Line"));
    setAccessibleName(windowTitle());
    resize(315, 150);
}
