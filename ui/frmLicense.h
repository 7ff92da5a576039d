#pragma once

#include <QDialog>
#include <QPoint>

#include <optional>

class QPlainTextEdit;
class QPushButton;

// The License window: the product's licence agreement.
class TLicense : public QDialog
{
    Q_OBJECT

public:
    explicit TLicense(QWidget *parent = nullptr);

    QPlainTextEdit *RichEdit1; // read-only, lines wrapped, anchored to all four sides
    QPushButton *Ok; // default and cancel button, anchored to the right and bottom

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Where the window was when it last closed: it comes back there within the run.
    std::optional<QPoint> lastPosition_;
};
