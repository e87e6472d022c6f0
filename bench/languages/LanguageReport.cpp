// Quality report of a language base: how closely the generator's texts follow
// the corpus the base was built from, and how strongly one error's weight
// changes the next text.
//
// usage: kexora-language-report [--seed N] [--chars N] BASEBUILD-OPTIONS -o BASE CORPUS...
// The base-builder options are those the base was built with; the corpus is
// cleaned the same way, and nothing is written.

#include "common/Random.h"
#include "model/KXBase.h"
#include "model/KXGenerator.h"
#include "tools/basebuild/BaseBuildCommand.h"
#include "tools/basebuild/BaseBuilder.h"

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TReportSettings {
    std::uint32_t Seed = 12345;
    int Chars = 100000;
};

using TShares = std::vector<double>; // by canonical position, 1..Count

class TLanguageReport {
public:
    TLanguageReport(const TKXBase& base, const TCodePage& page) : Base(base), Page(page) {}

    bool IsLetter(std::uint8_t ch) const
    {
        return std::iswalpha(static_cast<wint_t>(Page.ToUnicode(ch))) != 0;
    }

    TShares Shares(const std::string& text) const
    {
        TShares shares(static_cast<std::size_t>(Base.Alphabet().Count()) + 1, 0.0);
        long long total = 0;
        for (char c : text) {
            const int i = Base.Alphabet().IndexOf(static_cast<std::uint8_t>(c));
            if (i > 0 && i <= Base.Alphabet().Count()) {
                shares[static_cast<std::size_t>(i)] += 1;
                ++total;
            }
        }
        for (double& s : shares)
            s = total ? s / total : 0;
        return shares;
    }

    // Words: maximal runs of letters, an apostrophe between two letters
    // included; in canonical form, so that capitals match small letters.
    std::vector<std::string> Words(const std::string& text) const
    {
        std::vector<std::string> words;
        std::string word;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const auto ch = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
            const bool letter = i < text.size() && IsLetter(ch);
            const bool joiner = ch == '\'' && !word.empty() && i + 1 < text.size() &&
                                IsLetter(static_cast<std::uint8_t>(text[i + 1]));
            if (letter || joiner) {
                const std::uint8_t canonical = Base.Alphabet().Normalize(ch);
                word.push_back(static_cast<char>(canonical ? canonical : ch));
            } else if (!word.empty()) {
                words.push_back(word);
                word.clear();
            }
        }
        return words;
    }

private:
    const TKXBase& Base;
    const TCodePage& Page;
};

double TotalVariation(const TShares& a, const TShares& b)
{
    double sum = 0;
    for (std::size_t i = 1; i < a.size(); ++i)
        sum += std::fabs(a[i] - b[i]);
    return sum / 2;
}

std::string Shown(const TCodePage& page, std::uint8_t ch)
{
    return ch == ' ' ? "space" : page.ToUtf8(std::string(1, static_cast<char>(ch)));
}

std::string MakeText(TKXGenerator& generator, int level, int chars, std::uint32_t seed)
{
    SharedRandom().Seed(seed);
    generator.SetLevel(level);
    return generator.MakeText(chars);
}

int Report(const TBaseBuildOptions& options, const TReportSettings& settings)
{
    // Load time: the best of five loads.
    TKXBase base;
    double bestMs = 1e30;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!base.Load(options.Output)) {
            std::cerr << base.ErrorText() << "\n";
            return 1;
        }
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        bestMs = std::min(bestMs, took.count());
    }
    const auto fileSize = std::filesystem::file_size(options.Output);

    TBaseBuilder builder(options);
    std::istringstream none;
    if (builder.Analyse(none) != TBuildStatus::Ok) {
        std::cerr << builder.ErrorText() << "\n";
        return 1;
    }
    const TCodePage& page = *builder.CodePage();
    TLanguageReport report(base, page);
    const TAlphabet& alphabet = base.Alphabet();

    std::string corpus;
    for (const std::string& run : builder.Runs()) {
        corpus += run;
        corpus += '\n'; // keeps words of different runs apart
    }
    const TShares corpusShares = report.Shares(corpus);
    std::set<std::string> corpusWords;
    for (std::string& w : report.Words(corpus))
        corpusWords.insert(std::move(w));

    std::printf("== %s: %s bytes, %s records, load %.1f ms (best of 5)\n",
                base.Name().c_str(), GroupDigits(static_cast<long long>(fileSize)).c_str(),
                GroupDigits(static_cast<long long>((fileSize - BaseFormat::HeaderSize) /
                                                   BaseFormat::RecordSize))
                    .c_str(),
                bestMs);

    TKXGenerator generator(&base);
    generator.ResetWeights();

    // Character shares at each level against the corpus.
    std::map<int, std::string> texts;
    for (int level : {4, 3, 2})
        texts[level] = MakeText(generator, level, settings.Chars, settings.Seed);
    const TShares generated = report.Shares(texts[4]);
    std::printf("   character shares, %d characters at level 4: total variation distance %.4f"
                " (level 3: %.4f, level 2: %.4f)\n",
                settings.Chars, TotalVariation(generated, corpusShares),
                TotalVariation(report.Shares(texts[3]), corpusShares),
                TotalVariation(report.Shares(texts[2]), corpusShares));

    // The characters with the largest differences.
    std::vector<int> order;
    for (int i = 1; i <= alphabet.Count(); ++i)
        order.push_back(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return std::fabs(generated[a] - corpusShares[a]) > std::fabs(generated[b] - corpusShares[b]);
    });
    std::printf("   largest differences (generated/corpus %%):");
    for (std::size_t i = 0; i < order.size() && i < 4; ++i)
        std::printf(" %s %.2f/%.2f", Shown(page, alphabet.CharAt(order[i])).c_str(),
                    100 * generated[order[i]], 100 * corpusShares[order[i]]);
    std::printf("\n");

    // Words of three or more letters that occur in the corpus.
    std::printf("   generated words of 3+ letters found in the corpus:");
    for (int level : {4, 3, 2}) {
        long long words = 0, found = 0;
        for (const std::string& w : report.Words(texts[level])) {
            if (w.size() < 3)
                continue;
            ++words;
            found += corpusWords.count(w) ? 1 : 0;
        }
        std::printf(" level %d %.1f %% (%lld words)%s", level, words ? 100.0 * found / words : 0.0,
                    words, level == 2 ? "\n" : ",");
    }

    // Adaptivity: one error on a letter rarer than 2 % (the one nearest 1 %):
    // its weight goes to 20, one correct keystroke relaxes it to 16.2, and the
    // next text is made with that weight.
    int chosen = 0;
    for (int i = 1; i <= alphabet.Count(); ++i) {
        const std::uint8_t ch = alphabet.CharAt(i);
        if (!report.IsLetter(ch) || corpusShares[i] >= 0.02 || corpusShares[i] <= 0)
            continue;
        if (!chosen || std::fabs(corpusShares[i] - 0.01) < std::fabs(corpusShares[chosen] - 0.01))
            chosen = i;
    }
    if (chosen) {
        const std::uint8_t ch = alphabet.CharAt(chosen);
        const double before = generated[chosen];
        generator.SetWeight(ch, 20.0);
        generator.SetWeight(ch, (generator.GetWeight(ch) - 1.0) * 0.8 + 1.0);
        const double weight = generator.GetWeight(ch);
        const std::string next = MakeText(generator, 4, settings.Chars, settings.Seed + 1);
        generator.ResetWeights();
        const double after = report.Shares(next)[chosen];
        std::printf("   adaptivity: '%s' (corpus %.2f %%), weight %.1f: share %.2f %% -> %.2f %%"
                    " (x%.1f)\n",
                    Shown(page, ch).c_str(), 100 * corpusShares[chosen], weight, 100 * before,
                    100 * after, before > 0 ? after / before : 0.0);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_CTYPE, "C.UTF-8");
    TReportSettings settings;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--seed" || arg == "--chars") && i + 1 < argc) {
            const long value = std::strtol(argv[++i], nullptr, 10);
            if (arg == "--seed")
                settings.Seed = static_cast<std::uint32_t>(value);
            else
                settings.Chars = static_cast<int>(std::max(1L, value));
        } else {
            args.push_back(arg);
        }
    }
    TBaseBuildOptions options;
    bool help = false;
    std::string error;
    if (!ParseBaseBuildArgs(args, options, help, error) || help || options.Output.empty()) {
        std::cerr << (error.empty() ? "" : error + "\n")
                  << "usage: kexora-language-report [--seed N] [--chars N] BASEBUILD-OPTIONS"
                     " -o BASE CORPUS...\n";
        return 2;
    }
    return Report(options, settings);
}
