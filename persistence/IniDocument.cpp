#include "persistence/IniDocument.h"

#include <algorithm>

namespace {
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string WithoutLineBreaks(std::string_view text)
{
    std::string result(text);
    std::replace_if(
        result.begin(), result.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return result;
}
} // namespace

bool SameIniName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

std::string_view TrimIniBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

TIniDocument::TIniDocument(std::string_view text)
{
    if (text.substr(0, Utf8Bom.size()) == Utf8Bom) {
        Bom = Utf8Bom;
        text.remove_prefix(Utf8Bom.size());
    }
    bool endingChosen = false;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        TLine line;
        if (lf == std::string_view::npos) {
            line.Text = text;
            text = {};
        } else {
            const bool crlf = lf > 0 && text[lf - 1] == '\r';
            line.Text = text.substr(0, crlf ? lf - 1 : lf);
            line.Ending = crlf ? "\r\n" : "\n";
            text.remove_prefix(lf + 1);
            if (!endingChosen) {
                NewLine = line.Ending;
                endingChosen = true;
            }
        }
        Lines.push_back(std::move(line));
    }
}

TIniDocument::TParsed TIniDocument::Parse(const std::string& line)
{
    TParsed parsed;
    const std::string_view text = TrimIniBlanks(line);
    if (text.empty() || text.front() == ';')
        return parsed;
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        parsed.Kind = TKind::Section;
        parsed.Name =
            TrimIniBlanks(text.substr(1, close == std::string_view::npos ? text.npos : close - 1));
        return parsed;
    }
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        return parsed;
    parsed.Name = TrimIniBlanks(text.substr(0, eq));
    if (parsed.Name.empty())
        return parsed;
    parsed.Kind = TKind::Key;
    parsed.Value = TrimIniBlanks(text.substr(eq + 1));
    return parsed;
}

std::size_t TIniDocument::FindSection(std::string_view section) const
{
    const std::string_view wanted = TrimIniBlanks(section);
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        const TParsed parsed = Parse(Lines[i].Text);
        if (parsed.Kind == TKind::Section && SameIniName(parsed.Name, wanted))
            return i;
    }
    return Lines.size();
}

std::size_t TIniDocument::SectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < Lines.size() && Parse(Lines[i].Text).Kind != TKind::Section)
        ++i;
    return i;
}

std::optional<std::string> TIniDocument::Find(std::string_view section, std::string_view key) const
{
    const std::size_t header = FindSection(section);
    if (header == Lines.size())
        return std::nullopt;
    const std::string_view wanted = TrimIniBlanks(key);
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const TParsed parsed = Parse(Lines[i].Text);
        if (parsed.Kind != TKind::Key || !SameIniName(parsed.Name, wanted))
            continue;
        std::string_view value = parsed.Value;
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return std::string(value.substr(0, MaxValueLength));
    }
    return std::nullopt;
}

std::vector<std::string> TIniDocument::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    const std::size_t header = FindSection(section);
    if (header == Lines.size())
        return keys;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const TParsed parsed = Parse(Lines[i].Text);
        if (parsed.Kind != TKind::Key)
            continue;
        const bool seen = std::any_of(keys.begin(), keys.end(), [&](const std::string& k) {
            return SameIniName(k, parsed.Name);
        });
        if (!seen)
            keys.emplace_back(parsed.Name);
    }
    return keys;
}

bool TIniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string sectionName = WithoutLineBreaks(TrimIniBlanks(section));
    const std::string keyName = WithoutLineBreaks(TrimIniBlanks(key));
    if (sectionName.empty() || keyName.empty())
        return false;
    const std::string keyLine = keyName + "=" + WithoutLineBreaks(value);

    const std::size_t header = FindSection(sectionName);
    if (header == Lines.size()) {
        if (!Lines.empty()) {
            if (Lines.back().Ending.empty())
                Lines.back().Ending = NewLine;
            if (!TrimIniBlanks(Lines.back().Text).empty())
                Lines.push_back({"", NewLine});
        }
        Lines.push_back({"[" + sectionName + "]", NewLine});
        Lines.push_back({keyLine, NewLine});
        return true;
    }

    const std::size_t end = SectionEnd(header);
    std::size_t lastKey = header;
    for (std::size_t i = header + 1; i < end; ++i) {
        const TParsed parsed = Parse(Lines[i].Text);
        if (parsed.Kind != TKind::Key)
            continue;
        if (SameIniName(parsed.Name, keyName)) {
            // Keep the spelling of the name that is already in the file.
            Lines[i].Text = std::string(parsed.Name) + "=" + WithoutLineBreaks(value);
            return true;
        }
        lastKey = i;
    }
    if (Lines[lastKey].Ending.empty())
        Lines[lastKey].Ending = NewLine;
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(lastKey) + 1, {keyLine, NewLine});
    return true;
}

std::string TIniDocument::Text() const
{
    std::string text = Bom;
    for (const TLine& line : Lines) {
        text += line.Text;
        text += line.Ending;
    }
    return text;
}
