#include "tools/basebuild/BaseBuildCommand.h"

#include "common/CodePage.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

std::string BaseBuildUsage()
{
    return "usage: kexora-basebuild --codepage N --charset N [--depth 4] [--name NAME]\n"
           "                        [--alphabet FILE] [--fold FILE] [--min-count 20]\n"
           "                        [--info FILE] [--word-length X] -o OUT.Base INPUT...\n"
           "Builds a language base from UTF-8 text files (- reads standard input).\n"
           "  --codepage N     Windows single-byte code page of the base (1250 to 1257, 874, ...)\n"
           "  --charset N      font character-set code stored in the alphabet (0 to 255)\n"
           "  --depth N        length of the counted sequences (default 4)\n"
           "  --name NAME      language name in the header (default: the output's name)\n"
           "  --alphabet FILE  characters to keep, one canonical character per line,\n"
           "                   optionally followed by the characters sharing its weight;\n"
           "                   \"space\" is the space; capitals join their small letter\n"
           "  --fold FILE      replacements before counting, \"é e\" on a line\n"
           "  --min-count N    without --alphabet: keep the characters seen N times (20);\n"
           "                   a capital and its small letter count together\n"
           "  --info FILE      also write the language information file\n"
           "  --word-length X  average word length for --info instead of the measured one\n"
           "Exit status: 0 done, 1 the output could not be written, 2 bad input.\n";
}

namespace {
bool ParseInt(const std::string& text, long long low, long long high, int& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno || *end || v < low || v > high)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseDouble(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (errno || *end || !std::isfinite(v))
        return false;
    value = v;
    return true;
}
} // namespace

bool ParseBaseBuildArgs(const std::vector<std::string>& args, TBaseBuildOptions& options,
                        bool& help, std::string& error)
{
    options = TBaseBuildOptions{};
    help = false;
    bool onlyInputs = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (onlyInputs || arg == "-" || arg.empty() || arg[0] != '-') {
            options.Inputs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyInputs = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            help = true;
            return true;
        }
        std::string value;
        bool hasValue = false;
        const std::size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            hasValue = true;
        }
        static const char* const known[] = {"--codepage", "--charset",   "--depth",
                                            "--name",     "--alphabet",  "--fold",
                                            "--min-count", "--info",     "--word-length",
                                            "-o",         "--output"};
        bool isKnown = false;
        for (const char* k : known)
            isKnown = isKnown || arg == k;
        if (!isKnown) {
            error = "unknown option " + arg;
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                error = "the option " + arg + " needs a value";
                return false;
            }
            value = args[++i];
        }
        int number = 0;
        if (arg == "--codepage") {
            if (!ParseInt(value, 1, 65535, number)) {
                error = "unknown code page " + value;
                return false;
            }
            options.CodePage = number;
        } else if (arg == "--charset") {
            if (!ParseInt(value, 0, 255, number)) {
                error = "the character set must be a number from 0 to 255, not " + value;
                return false;
            }
            options.Charset = number;
        } else if (arg == "--depth") {
            if (!ParseInt(value, 1, 32, number)) {
                error = "the depth must be a number from 1 to 32, not " + value;
                return false;
            }
            options.Depth = number;
        } else if (arg == "--min-count") {
            if (!ParseInt(value, 0, 2147483647, number)) {
                error = "the minimum count must be a number of 0 or more, not " + value;
                return false;
            }
            options.MinCount = number;
        } else if (arg == "--word-length") {
            double length = 0;
            if (!ParseDouble(value, length) || length <= 0) {
                error = "the word length must be a positive number, not " + value;
                return false;
            }
            options.WordLength = length;
        } else if (arg == "--name") {
            options.Name = value;
        } else if (arg == "--alphabet") {
            options.AlphabetFile = value;
        } else if (arg == "--fold") {
            options.FoldFile = value;
        } else if (arg == "--info") {
            options.InfoOutput = value;
        } else {
            options.Output = value;
        }
    }
    return true;
}

std::string FormatBuildSummary(const TBaseBuilder& builder)
{
    const TBuildReport& r = builder.Report();
    const TBaseBuildOptions& o = builder.Options();
    const TAlphabet& alphabet = builder.Header().Alphabet;
    auto percent = [](long long part, long long whole) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f %%", whole ? 100.0 * part / whole : 0.0);
        return std::string(text);
    };
    std::string s;
    s += "Base      " + o.Output + "  (\"" + builder.CodePage()->ToUtf8(builder.Header().LanguageName.Get()) +
         "\", code page " + std::to_string(*o.CodePage) + ", charset " +
         std::to_string(*o.Charset) + ", depth " + std::to_string(o.Depth) + ")\n";
    s += "Read      " + GroupDigits(r.CharactersRead) + " characters (" +
         GroupDigits(r.BytesRead) + " bytes) from " + std::to_string(o.Inputs.size()) +
         " input(s)\n";
    s += "Cleaned   " + GroupDigits(r.WhiteSpaceRemoved) + " white-space characters removed, " +
         GroupDigits(r.Folded) + " folded, " + GroupDigits(r.Cleaned) + " left\n";
    s += "Kept      " + GroupDigits(r.Kept) + " characters (" + percent(r.Kept, r.Cleaned) +
         ") in " + GroupDigits(r.Runs) + " runs\n";
    s += "Dropped   " + GroupDigits(r.Dropped()) + " (" + percent(r.Dropped(), r.Cleaned) + ")";
    for (int i = 0; i < static_cast<int>(TDropReason::Count); ++i)
        if (r.DroppedBy[i])
            s += std::string(i == 0 || s.back() == ')' ? ": " : ", ") +
                 DropReasonText(static_cast<TDropReason>(i)) + " " + GroupDigits(r.DroppedBy[i]);
    s += "\n";
    if (!r.TopDropped.empty()) {
        s += "          most dropped:";
        for (std::size_t i = 0; i < r.TopDropped.size() && i < 8; ++i) {
            const char32_t ch = r.TopDropped[i].first;
            std::string shown;
            if (IsControl(ch) || ch == TCodePage::Placeholder)
                shown = DescribeChar(ch);
            else
                AppendUtf8(shown, ch);
            s += ' ';
            s += shown;
            s += ' ';
            s += GroupDigits(r.TopDropped[i].second);
        }
        s += "\n";
    }
    int byteValues = 0;
    for (int b = 0; b < 256; ++b)
        byteValues += alphabet.IndexOf(static_cast<std::uint8_t>(b)) ? 1 : 0;
    s += "Alphabet  " + std::to_string(alphabet.Count()) + " canonical characters, " +
         std::to_string(byteValues) + " byte values" +
         (r.AlphabetDerived ? " (from the corpus, min. count " + std::to_string(o.MinCount) + ")"
                            : " (from " + o.AlphabetFile + ")") +
         ":\n          ";
    for (const TAlphabetEntry& e : r.AlphabetEntries) {
        if (e.Canonical == U' ')
            s += "[space]";
        else
            AppendUtf8(s, e.Canonical);
    }
    s += "\n";
    s += "Sequences " + GroupDigits(r.Sequences) + " counted; distinct by length:";
    for (std::size_t n = 1; n < r.DistinctByLength.size(); ++n)
    {
        s += ' ';
        s += GroupDigits(r.DistinctByLength[n]);
    }
    s += "\n";
    s += "Leaves    " + GroupDigits(r.Leaves()) + "; records " + GroupDigits(r.Records) +
         "; file size " + GroupDigits(r.FileSize) + " bytes\n";
    char words[160];
    std::snprintf(words, sizeof words, "Words     %s; average length %.2f characters with the space",
                  GroupDigits(r.WordTokens).c_str(), r.MeasuredWordLength);
    s += words;
    if (!o.InfoOutput.empty()) {
        char written[96];
        std::snprintf(written, sizeof written, "; %.2f written to ", r.WordLength);
        s += written + o.InfoOutput;
    }
    s += "\n";
    return s;
}

int RunBaseBuild(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err)
{
    TBaseBuildOptions options;
    bool help = false;
    std::string error;
    if (!ParseBaseBuildArgs(args, options, help, error)) {
        err << "kexora-basebuild: " << error << "\n" << BaseBuildUsage();
        return static_cast<int>(TBuildStatus::BadInput);
    }
    if (help) {
        out << BaseBuildUsage();
        return 0;
    }
    TBaseBuilder builder(options);
    const TBuildStatus status = builder.Run(in);
    if (status != TBuildStatus::Ok) {
        err << "kexora-basebuild: " << builder.ErrorText() << "\n";
        return static_cast<int>(status);
    }
    out << FormatBuildSummary(builder);
    return 0;
}
