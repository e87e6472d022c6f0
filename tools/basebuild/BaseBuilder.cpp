#include "tools/basebuild/BaseBuilder.h"

#include "common/AtomicFile.h"
#include "model/BaseWriter.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

const char* DropReasonText(TDropReason reason)
{
    switch (reason) {
    case TDropReason::NotInAlphabet: return "not in the alphabet";
    case TDropReason::TooRare:       return "rarer than the minimum count";
    case TDropReason::NotInCodePage: return "not in the code page";
    case TDropReason::Control:       return "control characters";
    case TDropReason::InvalidUtf8:   return "invalid UTF-8";
    case TDropReason::Count:         break;
    }
    return "";
}

long long TBuildReport::Dropped() const
{
    long long total = 0;
    for (long long n : DroppedBy)
        total += n;
    return total;
}

std::string GroupDigits(long long n)
{
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(digits[i]);
    }
    return n < 0 ? "-" + out : out;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = "cannot read " + path + ": it is a folder";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        error = "cannot read " + path + ": read error";
        return false;
    }
    bytes = std::move(content).str();
    return true;
}

namespace {
// Code pages with more than one byte per character cannot hold a base.
bool IsSingleByteCodePage(int codePage, const TCodePage* page)
{
    static const int multiByte[] = {932,   936,   949,   950,   1200,  1201,  12000, 12001,
                                    20932, 50220, 50221, 50222, 51932, 51949, 54936, 65000,
                                    65001};
    if (!page || std::find(std::begin(multiByte), std::end(multiByte), codePage) !=
                     std::end(multiByte))
        return false;
    for (int b = 0x20; b < 0x7F; ++b)
        if (page->ToUnicode(static_cast<unsigned char>(b)) != static_cast<char32_t>(b))
            return false;
    return true;
}

bool FolderExists(const std::string& file)
{
    fs::path folder = fs::path(file).parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code ec;
    return fs::is_directory(folder, ec);
}
} // namespace

TBaseBuilder::TBaseBuilder(TBaseBuildOptions options) : Opts(std::move(options)) {}

TBuildStatus TBaseBuilder::Fail(TBuildStatus status, const std::string& text)
{
    Error = text;
    return status;
}

TBuildStatus TBaseBuilder::Run(std::istream& standardInput)
{
    const TBuildStatus status = Analyse(standardInput);
    return status == TBuildStatus::Ok ? Write() : status;
}

TBuildStatus TBaseBuilder::Analyse(std::istream& standardInput)
{
    Rep = TBuildReport{};
    Error.clear();
    Analysed = false;
    if (!CheckSettings() || !LoadTables() || !ReadInputs(standardInput) || !MakeAlphabet())
        return TBuildStatus::BadInput;
    CutRuns();
    if (!CountSequences())
        return TBuildStatus::BadInput;
    Analysed = true;
    return TBuildStatus::Ok;
}

bool TBaseBuilder::CheckSettings()
{
    if (!Opts.CodePage) {
        Error = "no code page given (--codepage)";
        return false;
    }
    Page = TCodePage::Get(*Opts.CodePage);
    if (!IsSingleByteCodePage(*Opts.CodePage, Page)) {
        Error = "unknown code page " + std::to_string(*Opts.CodePage) +
                " (a single-byte code page such as 1250 to 1257 is needed)";
        return false;
    }
    if (!Opts.Charset || *Opts.Charset < 0 || *Opts.Charset > 255) {
        Error = "the character set (--charset) must be a number from 0 to 255";
        return false;
    }
    if (Opts.Depth < 1 || Opts.Depth > 32) {
        Error = "the depth must be from 1 to 32";
        return false;
    }
    if (Opts.MinCount < 0) {
        Error = "the minimum count must not be negative";
        return false;
    }
    if (Opts.WordLength && !(*Opts.WordLength > 0 && *Opts.WordLength < 1000)) {
        Error = "the word length must be a positive number";
        return false;
    }
    if (Opts.Inputs.empty()) {
        Error = "no input files given";
        return false;
    }
    if (std::count(Opts.Inputs.begin(), Opts.Inputs.end(), "-") > 1) {
        Error = "standard input (-) can be read only once";
        return false;
    }
    for (const std::string* out : {&Opts.Output, &Opts.InfoOutput}) {
        if (!out->empty() && !FolderExists(*out)) {
            Error = "the output folder of " + *out + " does not exist";
            return false;
        }
    }
    if (Opts.Output.empty()) {
        Error = "no output file given (-o)";
        return false;
    }

    const std::string name =
        Opts.Name.empty() ? fs::path(Opts.Output).stem().string() : Opts.Name;
    bool lossless = true;
    const std::string nameBytes = Page->FromUtf8(name, &lossless);
    if (!lossless || nameBytes.size() > 255) {
        Error = "the language name \"" + name + "\" does not fit code page " +
                std::to_string(*Opts.CodePage) + " (or is longer than 255 characters)";
        return false;
    }
    Params = TKXBaseParameters();
    Params.LanguageName.Set(nameBytes);
    Params.Depth = Opts.Depth;
    Params.Alphabet = TAlphabet(static_cast<std::uint8_t>(*Opts.Charset));
    return true;
}

bool TBaseBuilder::LoadTables()
{
    std::string bytes;
    std::string problem;
    if (!Opts.FoldFile.empty()) {
        if (!ReadWholeFile(Opts.FoldFile, bytes, Error))
            return false;
        if (!Fold.Parse(bytes, problem)) {
            Error = "fold table " + Opts.FoldFile + ", " + problem;
            return false;
        }
        unsigned char b = 0;
        for (const auto& [from, to] : Fold.Entries())
            for (char32_t ch : to)
                if (!Page->FromUnicode(ch, b)) {
                    Error = "fold table " + Opts.FoldFile + ": the replacement " +
                            DescribeChar(ch) + " of " + DescribeChar(from) +
                            " is not in code page " + std::to_string(Page->Number());
                    return false;
                }
    }
    if (!Opts.AlphabetFile.empty()) {
        if (!ReadWholeFile(Opts.AlphabetFile, bytes, Error))
            return false;
        if (!Listed.Parse(bytes, problem)) {
            Error = "alphabet " + Opts.AlphabetFile + ", " + problem;
            return false;
        }
        if (Listed.Entries().empty()) {
            Error = "alphabet " + Opts.AlphabetFile + " lists no characters";
            return false;
        }
        unsigned char b = 0;
        for (const TAlphabetEntry& e : Listed.Entries())
            for (char32_t ch : e.Members)
                if (!Page->FromUnicode(ch, b)) {
                    Error = "alphabet " + Opts.AlphabetFile + ": the character " +
                            DescribeChar(ch) + " is not in code page " +
                            std::to_string(Page->Number());
                    return false;
                }
        Listed.AddCapitals([this](char32_t ch) {
            unsigned char byte = 0;
            return Page->FromUnicode(ch, byte);
        });
    }
    return true;
}

bool TBaseBuilder::ReadInputs(std::istream& standardInput)
{
    Texts.clear();
    CharCounts.clear();
    long long wordChars = 0;
    for (const std::string& input : Opts.Inputs) {
        std::string bytes;
        if (input == "-") {
            std::ostringstream content;
            content << standardInput.rdbuf();
            if (standardInput.bad()) {
                Error = "cannot read standard input";
                return false;
            }
            bytes = std::move(content).str();
        } else if (!ReadWholeFile(input, bytes, Error)) {
            Error = "input: " + Error;
            return false;
        }
        Rep.BytesRead += static_cast<long long>(bytes.size());
        std::u32string decoded = Utf8ToUtf32(bytes);
        if (!decoded.empty() && decoded.front() == 0xFEFF)
            decoded.erase(0, 1);
        Rep.CharactersRead += static_cast<long long>(decoded.size());

        // Collapse white space (trimmed at both ends of the input); measure
        // the words; apply the fold table.
        std::u32string text;
        text.reserve(decoded.size());
        bool pendingSpace = false;
        for (char32_t ch : decoded) {
            if (IsWhiteSpace(ch)) {
                pendingSpace = !text.empty();
                ++Rep.WhiteSpaceRemoved;
                continue;
            }
            if (pendingSpace) {
                text.push_back(U' ');
                --Rep.WhiteSpaceRemoved;
                ++Rep.WordTokens;
                ++wordChars;
                pendingSpace = false;
            }
            ++wordChars;
            if (const std::u32string* replacement = Fold.Find(ch)) {
                text += *replacement;
                ++Rep.Folded;
            } else {
                text.push_back(ch);
            }
        }
        if (!text.empty()) {
            ++Rep.WordTokens; // the last word of the input, with a space after it
            ++wordChars;
        }
        for (char32_t ch : text)
            ++CharCounts[ch];
        Rep.Cleaned += static_cast<long long>(text.size());
        Texts.push_back(std::move(text));
    }
    Rep.MeasuredWordLength =
        Rep.WordTokens > 0 ? static_cast<double>(wordChars) / Rep.WordTokens : 0;
    Rep.WordLength = Opts.WordLength ? *Opts.WordLength : Rep.MeasuredWordLength;
    return true;
}

bool TBaseBuilder::MakeAlphabet()
{
    std::vector<TAlphabetEntry> entries;
    if (!Opts.AlphabetFile.empty()) {
        entries = Listed.Entries();
    } else {
        // Every character of the corpus that the code page has and that occurs
        // often enough; a capital joins its small letter, and the two count
        // together, so that a rare capital is not dropped beside a common
        // small letter.
        Rep.AlphabetDerived = true;
        std::map<unsigned char, TAlphabetEntry> byCanonical;
        std::map<unsigned char, long long> groupCounts;
        unsigned char b = 0;
        for (const auto& [ch, count] : CharCounts) {
            if (IsControl(ch) || !Page->FromUnicode(ch, b))
                continue;
            char32_t canonical = ToLower(ch);
            unsigned char cb = 0;
            if (!Page->FromUnicode(canonical, cb)) {
                canonical = ch;
                cb = b;
            }
            groupCounts[cb] += count;
            TAlphabetEntry& entry = byCanonical[cb];
            if (entry.Members.empty()) {
                entry.Canonical = canonical;
                entry.Members.push_back(canonical);
            }
            if (ch != canonical)
                entry.Members.push_back(ch);
        }
        for (const auto& [cb, count] : groupCounts)
            if (count < Opts.MinCount)
                byCanonical.erase(cb);
        for (auto& [cb, entry] : byCanonical)
            entries.push_back(std::move(entry));
    }
    if (entries.size() > 255) {
        Error = "the alphabet has " + std::to_string(entries.size()) +
                " canonical characters; at most 255 fit a base";
        return false;
    }
    TAlphabet& alphabet = Params.Alphabet;
    for (const TAlphabetEntry& e : entries) {
        unsigned char b = 0;
        Page->FromUnicode(e.Canonical, b);
        const int position = alphabet.AddChar(b);
        for (char32_t ch : e.Members)
            if (Page->FromUnicode(ch, b))
                alphabet.SetIndex(b, static_cast<std::uint8_t>(position));
    }
    Rep.AlphabetEntries = std::move(entries);
    return true;
}

void TBaseBuilder::CutRuns()
{
    KeptRuns.clear();
    std::map<char32_t, long long> dropped;
    const TAlphabet& alphabet = Params.Alphabet;
    for (const std::u32string& text : Texts) {
        std::string run;
        auto endRun = [&] {
            if (static_cast<int>(run.size()) >= Opts.Depth)
                KeptRuns.push_back(run);
            run.clear();
        };
        for (char32_t ch : text) {
            unsigned char b = 0;
            TDropReason reason = TDropReason::Count;
            if (ch == TCodePage::Placeholder)
                reason = TDropReason::InvalidUtf8;
            else if (IsControl(ch))
                reason = TDropReason::Control;
            else if (!Page->FromUnicode(ch, b))
                reason = TDropReason::NotInCodePage;
            else if (alphabet.Normalize(b) == 0)
                reason = Rep.AlphabetDerived ? TDropReason::TooRare : TDropReason::NotInAlphabet;
            if (reason == TDropReason::Count) {
                run.push_back(static_cast<char>(b));
                ++Rep.Kept;
                continue;
            }
            ++Rep.DroppedBy[static_cast<int>(reason)];
            ++dropped[ch];
            endRun();
        }
        endRun();
    }
    Rep.Runs = static_cast<long long>(KeptRuns.size());
    Rep.TopDropped.assign(dropped.begin(), dropped.end());
    std::stable_sort(Rep.TopDropped.begin(), Rep.TopDropped.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
}

bool TBaseBuilder::CountSequences()
{
    Sequences.clear();
    const std::size_t depth = static_cast<std::size_t>(Opts.Depth);
    long long total = 0;
    for (const std::string& run : KeptRuns) {
        for (std::size_t i = 0; i + depth <= run.size(); ++i)
            ++Sequences[run.substr(i, depth)];
        total += static_cast<long long>(run.size() - depth + 1);
    }
    Rep.Sequences = total;
    if (total == 0) {
        Error = "nothing is left after cleaning: no run of " + std::to_string(Opts.Depth) +
                " kept characters (" + GroupDigits(Rep.Kept) + " characters kept, " +
                GroupDigits(Rep.Dropped()) + " dropped)";
        return false;
    }
    if (total > INT_MAX) {
        Error = "the corpus is too large: " + GroupDigits(total) +
                " sequences, a base holds at most " + GroupDigits(INT_MAX);
        return false;
    }
    // Distinct prefixes of every length: the records of each tree level.
    Rep.DistinctByLength.assign(depth + 1, 0);
    Rep.DistinctByLength[depth] = static_cast<long long>(Sequences.size());
    for (std::size_t n = 1; n < depth; ++n) {
        std::unordered_map<std::string, char> prefixes;
        for (const auto& [sequence, count] : Sequences)
            prefixes.emplace(sequence.substr(0, n), 0);
        Rep.DistinctByLength[n] = static_cast<long long>(prefixes.size());
    }
    Rep.Records = 0;
    for (std::size_t n = 1; n <= depth; ++n)
        Rep.Records += Rep.DistinctByLength[n];
    Rep.FileSize = static_cast<long long>(BaseFormat::HeaderSize) +
                   Rep.Records * static_cast<long long>(BaseFormat::RecordSize);
    return true;
}

TBuildStatus TBaseBuilder::Write()
{
    if (!Analysed)
        return Fail(TBuildStatus::BadInput, "nothing to write: the input was not analysed");
    const std::map<std::string, long long> ordered(Sequences.begin(), Sequences.end());
    const std::vector<TBaseRecord> records = RecordsFromCounts(ordered);
    std::string problem;
    if (!WriteBaseFile(Opts.Output, Params, records, problem))
        return Fail(TBuildStatus::WriteFailed, problem);
    if (!Opts.InfoOutput.empty()) {
        char value[64];
        std::snprintf(value, sizeof value, "%.2f", Rep.WordLength);
        const std::string info =
            std::string("[GENERAL]\r\nAverageWordLength=") + value + "\r\n";
        if (!WriteFileAtomically(Opts.InfoOutput, info, problem))
            return Fail(TBuildStatus::WriteFailed, problem);
    }
    return TBuildStatus::Ok;
}
