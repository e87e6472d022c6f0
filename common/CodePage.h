#pragma once

#include <array>
#include <string>
#include <unordered_map>

// Single-byte code pages. The language's texts are bytes in a Windows code
// page; a base names it by the font character-set code of its alphabet.
// Conversion goes through one 256-entry table per code page, built once from
// iconv; a byte the code page leaves undefined maps to U+FFFD.

// The Windows code page of a font character-set code (0 -> 1252, 204 -> 1251,
// 238 -> 1250, ...); 1252 for codes without a code page of their own.
int CharsetToCodePage(int charset);

class TCodePage {
public:
    static constexpr char32_t Placeholder = 0xFFFD;

    // The table of a code page (1250, 1251, ...), or nullptr when the system
    // does not know it. Tables live for the whole run; safe from any thread.
    static const TCodePage* Get(int codePage);
    // The table for a font character-set code; never null (falls back to 1252).
    static const TCodePage& ForCharset(int charset);

    int Number() const { return CodePage; }

    bool IsDefined(unsigned char byte) const { return Table[byte] != Placeholder; }
    char32_t ToUnicode(unsigned char byte) const { return Table[byte]; }
    std::u32string ToUnicode(const std::string& bytes) const;
    std::string ToUtf8(const std::string& bytes) const;

    // The byte of a character, or false when the code page lacks it.
    bool FromUnicode(char32_t ch, unsigned char& byte) const;
    // Converts UTF-8 text; a character the code page lacks becomes '?', and
    // *lossless (when given) reports whether that happened.
    std::string FromUtf8(const std::string& utf8, bool* lossless = nullptr) const;

private:
    explicit TCodePage(int codePage);
    bool Build();
    void FillReverse();

    int CodePage;
    std::array<char32_t, 256> Table{};
    std::unordered_map<char32_t, unsigned char> Reverse;
};

// UTF-8 helpers. Invalid sequences decode to U+FFFD, one per bad byte.
std::u32string Utf8ToUtf32(const std::string& utf8);
std::string Utf32ToUtf8(const std::u32string& text);
void AppendUtf8(std::string& out, char32_t ch);
