#pragma once

#include <QFont>

// The fonts of the program's windows: Tahoma (or the system's sans-serif font where Tahoma is
// not installed), 11 pixels high. The raw data view's text is in the system's fixed-width font by
// default, so that the ISA header's padding and columns line up.
QFont WindowFont();
QFont RawDataFont();
