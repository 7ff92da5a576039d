#pragma once

// The delimiters of one interchange, from its ISA header. Repetition is 0 where the header
// names none (ISA11 a letter or digit, as before version 00402).
struct Delimiters
{
    char Element = '*';
    char Component = ':';
    char Repetition = 0;
    char Segment = '~';

    bool operator==(const Delimiters &) const = default;
};
