#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Bytes from a file made fit for one line of a message or a listing: control characters
// (line breaks and tabs among them) are written as their code in angle brackets, "<0D>", so a
// value cannot break the line or its columns. Other bytes stay as they are.
namespace PrintableText {

QByteArray Of(QByteArrayView bytes);

} // namespace PrintableText
