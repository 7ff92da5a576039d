#pragma once

#include "Exception.h"

#include <QString>

#include <exception>
#include <functional>
#include <new>

// The program's message boxes, titled with the application title: the error box every error
// leaving a handler ends in, and short notices. Tests put a reporter in place of the boxes.
namespace MessageBoxes {

enum class Kind { Error, Notice };

// "Brimlet": the application's title, and the title of its message boxes.
QString ApplicationTitle();

// Receives each message instead of a modal box; an empty reporter restores the boxes.
using Reporter = std::function<void(Kind kind, const QString &title, const QString &text)>;
void SetReporter(Reporter reporter);

// Error icon and OK button; the text is ErrorText(message).
void ShowError(const QString &message);
// OK button only.
void ShowNotice(const QString &text);
// A box of the error type with a title of its own, error icon and OK button; text as it is.
void ShowErrorBox(const QString &title, const QString &text);

// Runs a handler and reports any error that leaves it in the error box, so that no exception
// escapes into Qt's event loop. Returns whether the handler finished normally.
template<class Handler>
bool Guarded(Handler &&handler)
{
    try {
        handler();
        return true;
    } catch (const Exception &e) {
        ShowError(e.Message());
    } catch (const std::bad_alloc &) {
        ShowError(QStringLiteral("Out of memory"));
    } catch (const std::exception &e) {
        ShowError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

// A slot that runs object's handler through Guarded.
template<class T>
auto GuardedSlot(T *object, void (T::*handler)())
{
    return [object, handler] { Guarded([&] { (object->*handler)(); }); };
}

} // namespace MessageBoxes
