#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of an INI file held in memory, line by line, so that a change
// rewrites one line and keeps every other line, comment, blank line, line
// ending and order exactly as it was.
//
// Reading follows the usual private-profile rules: section and key names are
// compared without regard to (ASCII) letter case, leading and trailing blanks
// of names and values are removed, one pair of double quotes around a value
// is removed, and a value is cut to MaxValueLength bytes. The first matching
// section and, inside it, the first matching key win. Lines whose first
// non-blank character is ';' are comments.
//
// Values are bytes: nothing is decoded, so any single-byte code page (or
// UTF-8) passes through unchanged. Lines may end in CR LF or LF; a line added
// takes the ending of the file's first line, CR LF in a file without one.
class TIniDocument {
public:
    static constexpr std::size_t MaxValueLength = 2047;

    TIniDocument() = default;
    explicit TIniDocument(std::string_view text);

    // The value of Key in Section, or nothing when the section or the key is
    // missing. A key that is present with an empty value gives an empty text.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Writes Key=Value in Section: replaces the key's line when the key exists,
    // otherwise appends the key to the end of its section, or the section with
    // the key to the end of the text. Line breaks inside the section, the key
    // or the value become blanks, so a value can never add lines of its own.
    // An empty section or key name writes nothing and returns false.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // The names of the keys of a section, in file order (first occurrences).
    std::vector<std::string> Keys(std::string_view section) const;

    std::string Text() const;
    bool StartsWithUtf8Bom() const { return !Bom.empty(); }

private:
    struct TLine {
        std::string Text;
        std::string Ending; // "\r\n", "\n" or "" (last line without a break)
    };
    enum class TKind { Other, Section, Key };
    struct TParsed {
        TKind Kind = TKind::Other;
        std::string_view Name;  // section or key name, trimmed
        std::string_view Value; // raw value after '=', trimmed
    };

    static TParsed Parse(const std::string& line);
    // Index of the first line opening the section, or Lines.size().
    std::size_t FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t header) const;

    std::string Bom;
    std::vector<TLine> Lines;
    std::string NewLine = "\r\n";
};

// ASCII case-blind equality of two names.
bool SameIniName(std::string_view a, std::string_view b);
// Removes blanks (spaces, tabs and stray carriage returns) at both ends.
std::string_view TrimIniBlanks(std::string_view text);
