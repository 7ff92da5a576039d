#pragma once

#include <concepts>
#include <ostream>

// Table-driven tests show each failing case by its name: a case type with a `name` member
// prints as that name once the test's namespace says `using CasePrinter::PrintTo;`.
namespace CasePrinter {

template<class Case>
requires requires(const Case &c)
{
    {
        c.name
        } -> std::convertible_to<const char *>;
}
void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

} // namespace CasePrinter
