#pragma once

#include "common/CodePage.h"
#include "model/KXBase.h"
#include "tools/basebuild/CharacterRules.h"

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Builds a language base from UTF-8 text: white space collapsed to single
// spaces, the fold table applied, every character outside the alphabet
// dropped (it ends the current run, so no counted sequence spans it), and
// every Depth-long sequence of each run counted.

struct TBaseBuildOptions {
    std::optional<int> CodePage;
    std::optional<int> Charset;
    int Depth = 4;
    std::string Name;         // LanguageName; empty: the output file's name
    std::string AlphabetFile; // empty: derived from the corpus
    std::string FoldFile;
    int MinCount = 20;        // for the derived alphabet
    std::vector<std::string> Inputs; // "-" is standard input
    std::string Output;
    std::string InfoOutput;            // the language information file, if wanted
    std::optional<double> WordLength;  // instead of the measured one
};

enum class TBuildStatus { Ok = 0, WriteFailed = 1, BadInput = 2 };

// Reasons for dropping a character, in the order the summary lists them.
enum class TDropReason { NotInAlphabet, TooRare, NotInCodePage, Control, InvalidUtf8, Count };
const char* DropReasonText(TDropReason reason);

struct TBuildReport {
    long long BytesRead = 0;
    long long CharactersRead = 0;   // after decoding, before any cleaning
    long long WhiteSpaceRemoved = 0; // characters removed by collapsing
    long long Folded = 0;           // characters replaced through the fold table
    long long Cleaned = 0;          // characters after collapsing and folding
    long long Kept = 0;
    long long Runs = 0;             // runs of kept characters of at least Depth
    long long DroppedBy[static_cast<int>(TDropReason::Count)] = {};
    std::vector<std::pair<char32_t, long long>> TopDropped; // most frequent first
    bool AlphabetDerived = false;
    std::vector<TAlphabetEntry> AlphabetEntries;
    long long Sequences = 0;                // counted Depth-long sequences
    std::vector<long long> DistinctByLength; // [n]: distinct sequences of length n
    long long Records = 0;
    long long FileSize = 0;
    long long WordTokens = 0;
    double MeasuredWordLength = 0;  // characters per word with the following space
    double WordLength = 0;          // the figure written to the information file

    long long Dropped() const;
    long long Leaves() const { return DistinctByLength.empty() ? 0 : DistinctByLength.back(); }
};

class TBaseBuilder {
public:
    explicit TBaseBuilder(TBaseBuildOptions options);

    // Reads and counts everything; nothing is written. standardInput serves "-".
    TBuildStatus Analyse(std::istream& standardInput);
    // Writes the base (and the information file when asked for) after Analyse.
    TBuildStatus Write();
    TBuildStatus Run(std::istream& standardInput);

    const TBaseBuildOptions& Options() const { return Opts; }
    const TBuildReport& Report() const { return Rep; }
    const std::string& ErrorText() const { return Error; }
    const TKXBaseParameters& Header() const { return Params; }
    const TCodePage* CodePage() const { return Page; }
    // The runs of kept characters, in the code page, in input order.
    const std::vector<std::string>& Runs() const { return KeptRuns; }
    const std::unordered_map<std::string, long long>& Counts() const { return Sequences; }

private:
    TBuildStatus Fail(TBuildStatus status, const std::string& text);
    bool CheckSettings();
    bool LoadTables();
    bool ReadInputs(std::istream& standardInput);
    bool MakeAlphabet();
    void CutRuns();
    bool CountSequences();

    TBaseBuildOptions Opts;
    TBuildReport Rep;
    std::string Error;
    const TCodePage* Page = nullptr;
    TKXBaseParameters Params;
    TFoldTable Fold;
    TAlphabetList Listed;
    std::vector<std::u32string> Texts; // collapsed and folded, one per input
    std::map<char32_t, long long> CharCounts;
    std::vector<std::string> KeptRuns;
    std::unordered_map<std::string, long long> Sequences;
    bool Analysed = false;
};

// Reads a whole file; false with a message naming the file on failure.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// "1,234,567"
std::string GroupDigits(long long n);
