#include "tools/basebuild/CharacterRules.h"

#include "common/CodePage.h"

#include <cstdio>

bool IsWhiteSpace(char32_t ch)
{
    switch (ch) {
    case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x20:
    case 0x85: case 0xA0: case 0x1680: case 0x2028: case 0x2029:
    case 0x202F: case 0x205F: case 0x3000:
        return true;
    default:
        return ch >= 0x2000 && ch <= 0x200A;
    }
}

bool IsControl(char32_t ch)
{
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F);
}

namespace {
// Blocks where capital and small letters alternate: the capital at the even
// (or odd) code point, its small letter right after it.
struct TPairBlock {
    char32_t First;
    char32_t Last;
    bool UpperEven;
};

constexpr TPairBlock PairBlocks[] = {
    {0x0100, 0x012F, true},  {0x0132, 0x0137, true}, {0x0139, 0x0148, false},
    {0x014A, 0x0177, true},  {0x0179, 0x017E, false}, {0x0460, 0x0481, true},
    {0x048A, 0x04BF, true},  {0x04C1, 0x04CE, false}, {0x04D0, 0x04FF, true},
};

// Blocks where the small letters lie at a fixed distance above the capitals.
struct TOffsetBlock {
    char32_t UpperFirst;
    char32_t UpperLast;
    char32_t Offset;
};

constexpr TOffsetBlock OffsetBlocks[] = {
    {U'A', U'Z', 0x20},       {0x00C0, 0x00D6, 0x20}, {0x00D8, 0x00DE, 0x20},
    {0x0391, 0x03A1, 0x20},   {0x03A3, 0x03AB, 0x20}, {0x0410, 0x042F, 0x20},
    {0x0400, 0x040F, 0x50},
};

// Single pairs: capital, small.
constexpr char32_t SinglePairs[][2] = {
    {0x0178, 0x00FF}, {0x0386, 0x03AC}, {0x0388, 0x03AD}, {0x0389, 0x03AE},
    {0x038A, 0x03AF}, {0x038C, 0x03CC}, {0x038E, 0x03CD}, {0x038F, 0x03CE},
    {0x04C0, 0x04CF},
};
} // namespace

char32_t ToUpper(char32_t ch)
{
    for (const TOffsetBlock& b : OffsetBlocks)
        if (ch >= b.UpperFirst + b.Offset && ch <= b.UpperLast + b.Offset)
            return ch - b.Offset;
    for (const TPairBlock& b : PairBlocks)
        if (ch >= b.First && ch <= b.Last) {
            const bool even = ch % 2 == 0;
            if (even != b.UpperEven && ch > b.First)
                return ch - 1;
            return ch;
        }
    for (const auto& p : SinglePairs)
        if (ch == p[1])
            return p[0];
    if (ch == 0x03C2) // final sigma
        return 0x03A3;
    return ch;
}

char32_t ToLower(char32_t ch)
{
    for (const TOffsetBlock& b : OffsetBlocks)
        if (ch >= b.UpperFirst && ch <= b.UpperLast)
            return ch + b.Offset;
    for (const TPairBlock& b : PairBlocks)
        if (ch >= b.First && ch <= b.Last) {
            const bool even = ch % 2 == 0;
            if (even == b.UpperEven && ch < b.Last)
                return ch + 1;
            return ch;
        }
    for (const auto& p : SinglePairs)
        if (ch == p[0])
            return p[1];
    return ch;
}

std::string DescribeChar(char32_t ch)
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
    std::string text = code;
    if (!IsControl(ch) && ch != TCodePage::Placeholder) {
        text += " '";
        AppendUtf8(text, ch);
        text += "'";
    }
    return text;
}

namespace {
// Splits a table file into lines of white-space separated tokens, skipping
// blank lines and comments ("# " at the start of a line).
struct TTableLine {
    int Number;
    std::vector<std::u32string> Tokens;
};

std::vector<TTableLine> SplitTable(const std::string& utf8)
{
    std::vector<TTableLine> lines;
    std::u32string text = Utf8ToUtf32(utf8);
    if (!text.empty() && text.front() == 0xFEFF)
        text.erase(0, 1);
    int number = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(U'\n', pos);
        if (end == std::u32string::npos)
            end = text.size();
        const std::u32string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (line.size() >= 2 && line[0] == U'#' && IsWhiteSpace(line[1]))
            continue;
        TTableLine parsed{number, {}};
        std::u32string token;
        for (char32_t ch : line + U' ') {
            if (IsWhiteSpace(ch)) {
                if (!token.empty())
                    parsed.Tokens.push_back(token);
                token.clear();
            } else {
                token.push_back(ch);
            }
        }
        if (!parsed.Tokens.empty())
            lines.push_back(std::move(parsed));
        if (end == text.size())
            break;
    }
    return lines;
}

std::string LinePrefix(int number)
{
    return "line " + std::to_string(number) + ": ";
}

// A token that names one character: a single character, or the word "space".
bool SingleChar(const std::u32string& token, char32_t& ch)
{
    if (token == U"space") {
        ch = U' ';
        return true;
    }
    if (token.size() != 1)
        return false;
    ch = token[0];
    return true;
}

bool CheckUsable(char32_t ch, int line, std::string& error)
{
    if (ch == TCodePage::Placeholder) {
        error = LinePrefix(line) + "the file is not valid UTF-8";
        return false;
    }
    if (IsControl(ch)) {
        error = LinePrefix(line) + "the control character " + DescribeChar(ch) +
                " cannot be listed";
        return false;
    }
    return true;
}
} // namespace

bool TFoldTable::Parse(const std::string& utf8, std::string& error)
{
    Rules.clear();
    for (const TTableLine& line : SplitTable(utf8)) {
        char32_t from = 0;
        if (line.Tokens.size() != 2 || !SingleChar(line.Tokens[0], from) || from == U' ') {
            error = LinePrefix(line.Number) +
                    "expected a character, white space and its replacement (\"é e\")";
            return false;
        }
        if (!CheckUsable(from, line.Number, error))
            return false;
        for (char32_t ch : line.Tokens[1])
            if (!CheckUsable(ch, line.Number, error))
                return false;
        if (Rules.count(from)) {
            error = LinePrefix(line.Number) + DescribeChar(from) + " is replaced twice";
            return false;
        }
        Rules[from] = line.Tokens[1];
    }
    return true;
}

const std::u32string* TFoldTable::Find(char32_t ch) const
{
    const auto it = Rules.find(ch);
    return it == Rules.end() ? nullptr : &it->second;
}

bool TAlphabetList::Parse(const std::string& utf8, std::string& error)
{
    List.clear();
    std::map<char32_t, int> seen; // character -> line
    for (const TTableLine& line : SplitTable(utf8)) {
        TAlphabetEntry entry{};
        for (std::size_t i = 0; i < line.Tokens.size(); ++i) {
            std::u32string chars;
            char32_t single = 0;
            if (SingleChar(line.Tokens[i], single)) {
                chars.push_back(single);
            } else if (i == 0) {
                error = LinePrefix(line.Number) + "the canonical character must be one " +
                        "character or the word space";
                return false;
            } else {
                chars = line.Tokens[i];
            }
            for (char32_t ch : chars) {
                if (!CheckUsable(ch, line.Number, error))
                    return false;
                const auto it = seen.find(ch);
                if (it != seen.end()) {
                    error = LinePrefix(line.Number) + DescribeChar(ch) +
                            " is already listed on line " + std::to_string(it->second);
                    return false;
                }
                seen[ch] = line.Number;
                entry.Members.push_back(ch);
            }
        }
        entry.Canonical = entry.Members.front();
        List.push_back(std::move(entry));
    }
    return true;
}
