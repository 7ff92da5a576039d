#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <array>

// The id and the first MaxElements elements of one segment's text, split at its element
// separator. Elements the text does not reach are empty.
class SegmentElements
{
public:
    static constexpr int MaxElements = 16;

    SegmentElements(QByteArrayView text, char elementSeparator);

    QByteArrayView Id() const { return parts_[0]; }
    // Element n, from 1 to MaxElements.
    QByteArrayView operator[](int n) const { return parts_[size_t(n)]; }

private:
    std::array<QByteArrayView, MaxElements + 1> parts_ {};
};
