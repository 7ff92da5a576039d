#include "PrintableText.h"

namespace PrintableText {

QByteArray Of(QByteArrayView bytes)
{
    QByteArray text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const uchar u = uchar(c);
        if (u < 0x20 || u == 0x7F) {
            text += '<';
            text += QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
            text += '>';
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace PrintableText
