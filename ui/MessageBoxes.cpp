#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace MessageBoxes {

namespace {

Reporter &CurrentReporter()
{
    static Reporter reporter;
    return reporter;
}

void Show(Kind kind, const QString &text)
{
    if (CurrentReporter()) {
        CurrentReporter()(kind, ApplicationTitle(), text);
        return;
    }
    QMessageBox box(kind == Kind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
        ApplicationTitle(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.setAccessibleName(ApplicationTitle());
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

QString ErrorText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowError(const QString &message)
{
    Show(Kind::Error, ErrorText(message));
}

void ShowNotice(const QString &text)
{
    Show(Kind::Notice, text);
}

} // namespace MessageBoxes
