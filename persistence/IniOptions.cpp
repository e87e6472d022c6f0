#include "persistence/IniOptions.h"

#include "persistence/IniFile.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace {
char& ForcedSeparator()
{
    static char separator = 0;
    return separator;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[noreturn]] void ThrowNotInteger(const std::string& text)
{
    throw EConvertError("'" + text + "' is not a valid integer value");
}

[[noreturn]] void ThrowNotFloat(const std::string& text)
{
    throw EConvertError("'" + text + "' is not a valid floating point value");
}
} // namespace

TIniOptions::TIniOptions(std::string fileName, bool writable)
    : Writable(writable), FileName(std::move(fileName))
{
}

std::string TIniOptions::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue)
{
    LastError.clear();
    const TIniFile file(FileName);
    std::string value;
    if (!file.ReadValue(section, key, value)) {
        // The file is there but unreadable: never write a default over it.
        LastError = "Error while inifile reading";
        return defaultValue;
    }
    if (!value.empty())
        return value;
    if (Writable && !file.WriteValue(section, key, defaultValue))
        LastError = "Can't save default value";
    return defaultValue;
}

void TIniOptions::WriteString(const std::string& section, const std::string& key,
                              const std::string& value)
{
    LastError.clear();
    if (!Writable)
        return;
    if (!TIniFile(FileName).WriteValue(section, key, value))
        LastError = "Error while inifile writing";
}

int TIniOptions::ReadInteger(const std::string& section, const std::string& key, int defaultValue)
{
    return TextToInteger(ReadString(section, key, std::to_string(defaultValue)));
}

void TIniOptions::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

double TIniOptions::ReadFloat(const std::string& section, const std::string& key,
                              double defaultValue)
{
    return TextToFloat(ReadString(section, key, FloatToText(defaultValue)));
}

bool TIniOptions::ReadBool(const std::string& section, const std::string& key, bool defaultValue)
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniOptions::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

TColor TIniOptions::ReadColor(const std::string& section, const std::string& key,
                              TColor defaultValue)
{
    // Colours are signed 32-bit numbers in the file's decimal form, so the
    // system colours (0x80000000 and up) read back through the integer path.
    const int stored = ReadInteger(section, key, static_cast<std::int32_t>(defaultValue));
    return static_cast<TColor>(static_cast<std::uint32_t>(stored));
}

void TIniOptions::WriteColor(const std::string& section, const std::string& key, TColor value)
{
    WriteString(section, key, ColorToText(value));
}

char TIniOptions::DecimalSeparator()
{
    if (ForcedSeparator() != 0)
        return ForcedSeparator();
    const std::lconv* conventions = std::localeconv();
    if (conventions && conventions->decimal_point && conventions->decimal_point[0] != 0)
        return conventions->decimal_point[0];
    return '.';
}

void TIniOptions::SetDecimalSeparator(char separator)
{
    ForcedSeparator() = separator;
}

int TIniOptions::TextToInteger(const std::string& text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i >= text.size())
        ThrowNotInteger(text);

    if (text[i] == '$' ||
        (text[i] == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X'))) {
        i += text[i] == '$' ? 1 : 2;
        if (i >= text.size())
            ThrowNotInteger(text);
        std::uint64_t value = 0;
        for (; i < text.size(); ++i) {
            const int digit = HexDigit(text[i]);
            if (digit < 0)
                ThrowNotInteger(text);
            value = value * 16 + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFull)
                ThrowNotInteger(text);
        }
        // Eight hexadecimal digits cover the whole 32-bit pattern.
        std::uint32_t bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }

    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            ThrowNotInteger(text);
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{std::numeric_limits<int>::max()} + 1)
            ThrowNotInteger(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        ThrowNotInteger(text);
    return static_cast<int>(value);
}

double TIniOptions::TextToFloat(const std::string& text)
{
    // Every "." counts as the locale's separator, and the separator is the
    // decimal point; from then on the conversion does not depend on the locale.
    const char separator = DecimalSeparator();
    std::string number = text;
    std::replace(number.begin(), number.end(), '.', separator);
    std::replace(number.begin(), number.end(), separator, '.');

    std::size_t start = 0;
    if (!number.empty() && (number[0] == '+' || number[0] == '-'))
        start = 1;
    // Only plain decimal notation: no "inf", "nan" or hexadecimal forms.
    const bool plain =
        start < number.size() &&
        std::all_of(number.begin() + static_cast<std::ptrdiff_t>(start), number.end(), [](char c) {
            return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' ||
                   c == '-';
        });
    if (!plain)
        ThrowNotFloat(text);
    double value = 0;
    const char* first = number.data() + start;
    const char* last = number.data() + number.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        ThrowNotFloat(text);
    return number[0] == '-' ? -value : value;
}

std::string TIniOptions::FloatToText(double value)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    std::replace(text.begin(), text.end(), '.', DecimalSeparator());
    return text;
}

std::string TIniOptions::ColorToText(TColor value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%06X", static_cast<unsigned>(value));
    return buffer;
}
