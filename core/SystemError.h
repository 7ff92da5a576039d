#pragma once

#include <cerrno>

// The operating system's number for the error just reported by a file call, or EIO when the
// call failed without setting one (a short read, for instance).
inline int LastSystemError()
{
    return errno != 0 ? errno : EIO;
}
