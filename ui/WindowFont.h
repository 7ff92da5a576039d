#pragma once

#include <QFont>

// The fonts of the program's windows: Tahoma (or the system's sans-serif font where Tahoma is
// not installed), 11 pixels high; the raw data view's text is Tahoma at 8 points.
QFont WindowFont();
QFont RawDataFont();
