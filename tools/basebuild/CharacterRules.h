#pragma once

#include <map>
#include <string>
#include <vector>

// Character classes and the two input tables of the base builder: the fold
// table (replacements applied before counting) and the alphabet list.

// White space as the builder collapses it: ASCII and Unicode spaces and line
// breaks.
bool IsWhiteSpace(char32_t ch);
// Control characters (C0, DEL, C1): never part of an alphabet.
bool IsControl(char32_t ch);
// Simple one-to-one case mapping for the scripts of the single-byte code pages
// (Latin-1, Latin Extended-A, Greek, Cyrillic); other characters map to themselves.
char32_t ToUpper(char32_t ch);
char32_t ToLower(char32_t ch);

// "U+00E9 'é'": a character named for messages.
std::string DescribeChar(char32_t ch);

// Replacements applied before counting, one character by one or more
// characters. File format (UTF-8): one replacement per line, the character,
// white space, then its replacement ("é e", "œ oe"); blank lines and lines
// beginning with "# " are ignored.
class TFoldTable {
public:
    bool Parse(const std::string& utf8, std::string& error);
    bool Empty() const { return Rules.empty(); }
    std::size_t Size() const { return Rules.size(); }
    // The replacement of ch, or nullptr when ch is kept as it is.
    const std::u32string* Find(char32_t ch) const;
    const std::map<char32_t, std::u32string>& Entries() const { return Rules; }

private:
    std::map<char32_t, std::u32string> Rules;
};

// The characters to keep and how they share weights. File format (UTF-8): one
// canonical character per line, optionally followed by white space and the
// characters that share its weight ("e é è"); the word "space" stands for the
// space; blank lines and lines beginning with "# " are ignored. The capital of
// every listed character joins it unless the capital is listed itself.
struct TAlphabetEntry {
    char32_t Canonical;
    std::vector<char32_t> Members; // the canonical character first
};

class TAlphabetList {
public:
    bool Parse(const std::string& utf8, std::string& error);
    const std::vector<TAlphabetEntry>& Entries() const { return List; }

    // Adds the capital of every member to its entry, unless the capital is
    // listed elsewhere or the filter rejects it.
    template <typename Filter> void AddCapitals(Filter accept);

private:
    std::vector<TAlphabetEntry> List;
};

template <typename Filter> void TAlphabetList::AddCapitals(Filter accept)
{
    auto listed = [this](char32_t ch) {
        for (const TAlphabetEntry& e : List)
            for (char32_t m : e.Members)
                if (m == ch)
                    return true;
        return false;
    };
    for (TAlphabetEntry& e : List) {
        const std::size_t n = e.Members.size();
        for (std::size_t i = 0; i < n; ++i) {
            const char32_t upper = ToUpper(e.Members[i]);
            if (upper != e.Members[i] && !listed(upper) && accept(upper))
                e.Members.push_back(upper);
        }
    }
}
