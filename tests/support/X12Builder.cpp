#include "X12Builder.h"

#include <cassert>

namespace X12Builder {

QByteArray Isa(char elementSeparator, char componentSeparator, char terminator)
{
    QByteArray isa = "ISA*00*          *00*          *ZZ*SENDERID       *ZZ*RECEIVERID     "
                     "*240102*0930*U*00401*000000007*0*P*";
    isa.replace('*', elementSeparator);
    isa.append(componentSeparator);
    isa.append(terminator);
    assert(isa.size() == 106);
    return isa;
}

QByteArray Interchange(const QByteArrayList &segments, const QByteArray &lineBreak)
{
    QByteArray bytes = Isa() + lineBreak;
    for (const QByteArray &segment : segments)
        bytes += segment + '~' + lineBreak;
    return bytes;
}

} // namespace X12Builder
