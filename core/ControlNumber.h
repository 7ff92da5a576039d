#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

// How envelope values compare. Control numbers made of digits compare as numbers ("3438" is
// "000003438"); others compare as text without the spaces around them. Counts compare as
// numbers: a count that is not a number matches none.
namespace ControlNumber {

// value without the spaces around it.
QByteArrayView WithoutSpaces(QByteArrayView value);

// value without the spaces around it and, when it is all digits, without leading zeros (one
// zero stays): equal control numbers have equal canonical forms. A view into value.
QByteArrayView Canonical(QByteArrayView value);

bool Same(QByteArrayView a, QByteArrayView b);

// The number value stands for when it is digits (spaces around them allowed) with at most 18
// after its leading zeros.
std::optional<quint64> Number(QByteArrayView value);

// Whether the count element text (spaces around it allowed) is the number count.
bool CountIs(QByteArrayView text, qint64 count);

} // namespace ControlNumber
