#pragma once

#include <cstdint>

// The language's alphabet as stored in a base file: the font character set of
// the language's text, the list of canonical characters and, for every byte
// value, the position of its canonical character (0: not in the alphabet).
// A plain 513-byte record, copied by value.
class TAlphabet {
public:
    explicit TAlphabet(std::uint8_t charset = 0);

    std::uint8_t Charset() const { return CharsetCode; }
    int Count() const { return Chars[0]; }
    int IndexOf(std::uint8_t ch) const { return Index[ch]; }
    std::uint8_t CharAt(int i) const { return (i >= 1 && i <= Count()) ? Chars[i] : 0; }
    std::uint8_t Normalize(std::uint8_t ch) const { return CharAt(IndexOf(ch)); }

    // Editing, used by the tools that write bases.
    void SetCharset(std::uint8_t charset) { CharsetCode = charset; }
    // Appends a canonical character and returns its position, or 0 when the
    // list is full (255 characters).
    int AddChar(std::uint8_t ch);
    void SetIndex(std::uint8_t ch, std::uint8_t position) { Index[ch] = position; }

    std::uint8_t CharsetCode;
    std::uint8_t Chars[256]; // length byte, then the characters
    std::uint8_t Index[256];
};

static_assert(sizeof(TAlphabet) == 513, "the alphabet is stored byte for byte");
