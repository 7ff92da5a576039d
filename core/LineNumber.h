#pragma once

#include <QtGlobal>

#include <compare>

struct SegmentNumber;

// A line of the raw data view, counted from 0. Line n shows segment n + 1: the two are distinct
// types, so that passing one where the other is meant does not compile.
struct LineNumber
{
    qint64 Value = 0;

    constexpr LineNumber() = default;
    constexpr explicit LineNumber(qint64 value)
        : Value(value)
    { }
    constexpr SegmentNumber Segment() const;
    friend constexpr auto operator<=>(LineNumber, LineNumber) = default;
};

// A segment of the file, counted from 1: segment 1 is the ISA header.
struct SegmentNumber
{
    qint64 Value = 1;

    constexpr SegmentNumber() = default;
    constexpr explicit SegmentNumber(qint64 value)
        : Value(value)
    { }
    constexpr LineNumber Line() const { return LineNumber(Value - 1); }
    friend constexpr auto operator<=>(SegmentNumber, SegmentNumber) = default;
};

constexpr SegmentNumber LineNumber::Segment() const
{
    return SegmentNumber(Value + 1);
}
