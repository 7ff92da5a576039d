#pragma once

#include <QDialog>

// The Go To Line dialog: a line number, or the n-th segment of a segment type.
class TGoToForm : public QDialog
{
    Q_OBJECT

public:
    explicit TGoToForm(QWidget *parent = nullptr);
};
