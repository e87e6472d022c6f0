#include "model/Alphabet.h"

#include <cstring>

TAlphabet::TAlphabet(std::uint8_t charset) : CharsetCode(charset)
{
    std::memset(Chars, 0, sizeof Chars);
    std::memset(Index, 0, sizeof Index);
}

int TAlphabet::AddChar(std::uint8_t ch)
{
    if (Chars[0] == 255)
        return 0;
    ++Chars[0];
    Chars[Chars[0]] = ch;
    return Chars[0];
}
