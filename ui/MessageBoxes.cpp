#include "MessageBoxes.h"

#include "ErrorText.h"

#include <QApplication>
#include <QMessageBox>

namespace MessageBoxes {

namespace {

Reporter &CurrentReporter()
{
    static Reporter reporter;
    return reporter;
}

void Show(Kind kind, const QString &text, const QString &title = ApplicationTitle())
{
    if (CurrentReporter()) {
        CurrentReporter()(kind, title, text);
        return;
    }
    QMessageBox box(kind == Kind::Error ? QMessageBox::Critical : QMessageBox::NoIcon, title, text,
        QMessageBox::Ok, QApplication::activeWindow());
    box.setAccessibleName(title);
    // Paths and addresses in a message can be copied from it.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

} // namespace

QString ApplicationTitle()
{
    return QStringLiteral("Brimlet");
}

void SetReporter(Reporter reporter)
{
    CurrentReporter() = std::move(reporter);
}

void ShowError(const QString &message)
{
    Show(Kind::Error, ::ErrorText(message));
}

void ShowNotice(const QString &text)
{
    Show(Kind::Notice, text);
}

void ShowErrorBox(const QString &title, const QString &text)
{
    Show(Kind::Error, text, title);
}

} // namespace MessageBoxes
