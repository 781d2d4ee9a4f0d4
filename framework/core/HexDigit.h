#pragma once

// HexDigit: the value of one hexadecimal digit, for the readers of hex text
// (colour codes in drawn text, binary values in the settings file).

namespace Zorvin {

// 0..15 for '0'-'9', 'a'-'f' and 'A'-'F'; -1 for anything else.
constexpr int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace Zorvin
