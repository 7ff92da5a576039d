#pragma once

#include <QtGlobal>

// The benchmarks' deterministic pseudo-random numbers (xorshift64*): the same seed gives the
// same numbers on every platform and compiler.
class XorShift
{
public:
    explicit XorShift(quint64 seed)
        : state_(seed)
    { }

    quint64 Next()
    {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Dull;
    }
    int Below(int n) { return int(Next() % quint64(n)); }

private:
    quint64 state_;
};
