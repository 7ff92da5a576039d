#pragma once

#include <QDialog>

// The About window: the product's picture with its Ok button and the link to the maker.
class TAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TAbout(QWidget *parent = nullptr);
};
