#pragma once

#include <QDialog>

// The License window: the product's licence agreement.
class TLicense : public QDialog
{
    Q_OBJECT

public:
    explicit TLicense(QWidget *parent = nullptr);
};
