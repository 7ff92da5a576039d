#include "frmLicense.h"

#include "WindowFont.h"

TLicense::TLicense(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("License"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("Brimlet Zudozazir Edition License"));
    setAccessibleName(windowTitle());
    resize(531, 391);
}
