#pragma once

#include <QString>

// The error box's text for an error's message: the message with a period added, unless its
// last character's code is at most that of the period (a period, blank, comma, hyphen, "!",
// a closing parenthesis and the like).
QString ErrorText(const QString &message);
