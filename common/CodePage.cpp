#include "common/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

int CharsetToCodePage(int charset)
{
    switch (charset) {
    case 0:   return 1252; // ANSI (Western)
    case 238: return 1250; // Eastern European
    case 204: return 1251; // Cyrillic
    case 161: return 1253; // Greek
    case 162: return 1254; // Turkish
    case 177: return 1255; // Hebrew
    case 178: return 1256; // Arabic
    case 186: return 1257; // Baltic
    case 163: return 1258; // Vietnamese
    default:  return 1252;
    }
}

TCodePage::TCodePage(int codePage) : CodePage(codePage)
{
    Table.fill(Placeholder);
}

bool TCodePage::Build()
{
    const std::string name = "CP" + std::to_string(CodePage);
    iconv_t cd = iconv_open("UTF-32LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[16];
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (rc == static_cast<size_t>(-1))
            continue; // undefined in this code page
        // Some converters (CP1258) hold a base letter back, waiting for a
        // combining mark: flush it out.
        iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
        if (sizeof out - outLeft != 4)
            continue;
        Table[b] = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) |
                                         (static_cast<std::uint32_t>(out[3]) << 24));
    }
    iconv_close(cd);
    FillReverse();
    return true;
}

const TCodePage* TCodePage::Get(int codePage)
{
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<TCodePage>> tables;
    std::lock_guard lock(mutex);
    auto it = tables.find(codePage);
    if (it == tables.end()) {
        std::unique_ptr<TCodePage> table(new TCodePage(codePage));
        if (!table->Build())
            table.reset();
        it = tables.emplace(codePage, std::move(table)).first;
    }
    return it->second.get();
}

const TCodePage& TCodePage::ForCharset(int charset)
{
    if (const TCodePage* table = Get(CharsetToCodePage(charset)))
        return *table;
    static const TCodePage latin1 = [] {
        // Only reached when iconv lacks CP1252: fall back to ISO 8859-1.
        TCodePage t(1252);
        for (int b = 0; b < 256; ++b)
            t.Table[b] = static_cast<char32_t>(b);
        t.FillReverse();
        return t;
    }();
    return latin1;
}

void TCodePage::FillReverse()
{
    Reverse.clear();
    // The lowest byte wins where two bytes decode to the same character.
    for (int b = 255; b >= 0; --b)
        if (Table[b] != Placeholder)
            Reverse[Table[b]] = static_cast<unsigned char>(b);
}

std::u32string TCodePage::ToUnicode(const std::string& bytes) const
{
    std::u32string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes)
        out.push_back(Table[b]);
    return out;
}

std::string TCodePage::ToUtf8(const std::string& bytes) const
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes)
        AppendUtf8(out, Table[b]);
    return out;
}

bool TCodePage::FromUnicode(char32_t ch, unsigned char& byte) const
{
    if (ch == Placeholder)
        return false;
    const auto it = Reverse.find(ch);
    if (it == Reverse.end())
        return false;
    byte = it->second;
    return true;
}

std::string TCodePage::FromUtf8(const std::string& utf8, bool* lossless) const
{
    if (lossless)
        *lossless = true;
    std::string out;
    out.reserve(utf8.size());
    for (char32_t ch : Utf8ToUtf32(utf8)) {
        unsigned char b = 0;
        if (ch < 0x80 && Table[ch] == ch) {
            out.push_back(static_cast<char>(ch));
        } else if (FromUnicode(ch, b)) {
            out.push_back(static_cast<char>(b));
        } else {
            out.push_back('?');
            if (lossless)
                *lossless = false;
        }
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t ch)
{
    if (ch < 0x80) {
        out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (ch >> 18)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}

std::string Utf32ToUtf8(const std::u32string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t ch : text)
        AppendUtf8(out, ch);
    return out;
}

std::u32string Utf8ToUtf32(const std::string& utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t n = utf8.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        int extra = 0;
        char32_t ch = 0;
        if (c < 0x80) {
            ch = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            ch = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            ch = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            ch = c & 0x07;
        } else {
            out.push_back(TCodePage::Placeholder);
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (s[i + k] & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            ch = (ch << 6) | (s[i + k] & 0x3F);
        }
        if (!ok) {
            out.push_back(TCodePage::Placeholder);
            ++i;
            continue;
        }
        out.push_back(ch);
        i += 1 + extra;
    }
    return out;
}
