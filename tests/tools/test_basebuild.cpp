#include "model/KXBase.h"
#include "tools/basebuild/BaseBuildCommand.h"
#include "tools/basebuild/BaseBuilder.h"
#include "tools/basebuild/CharacterRules.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class BaseBuildTest : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return Temp.File(name); }

    std::string Write(const std::string& name, const std::string& content) const
    {
        WriteBytes(File(name), content);
        return File(name);
    }

    // Runs the tool as the command line would; keeps its output.
    int Run(const std::vector<std::string>& args, const std::string& input = "")
    {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = RunBaseBuild(args, in, out, err);
        Out = out.str();
        Err = err.str();
        return status;
    }

    // Builds in memory and returns the counted sequences, in code-page bytes.
    std::map<std::string, long long> Count(const std::string& text, int depth,
                                           const std::string& alphabet,
                                           const std::string& fold = "")
    {
        TBaseBuildOptions o;
        o.CodePage = 1252;
        o.Charset = 0;
        o.Depth = depth;
        o.Inputs = {Write("in.txt", text)};
        o.Output = File("Out.Base");
        if (!alphabet.empty())
            o.AlphabetFile = Write("abc.txt", alphabet);
        if (!fold.empty())
            o.FoldFile = Write("fold.txt", fold);
        TBaseBuilder builder(o);
        std::istringstream none;
        EXPECT_EQ(builder.Analyse(none), TBuildStatus::Ok) << builder.ErrorText();
        return {builder.Counts().begin(), builder.Counts().end()};
    }

    TTempFolder Temp;
    std::string Out;
    std::string Err;
};

TEST_F(BaseBuildTest, BuiltBaseLoadsWithTheReportedAlphabetDepthAndCounts)
{
    const std::string corpus = Write("corpus.txt", "Ab ab.\nab  abba, 12 ab\tBA.\n");
    const std::string alphabet = Write("abc.txt", "# letters\nspace\na\nb\n.\n");
    TBaseBuildOptions o;
    o.CodePage = 1252;
    o.Charset = 0;
    o.Depth = 3;
    o.Name = "Fixture";
    o.AlphabetFile = alphabet;
    o.Inputs = {corpus};
    o.Output = File("Test.Base");
    TBaseBuilder builder(o);
    std::istringstream none;
    ASSERT_EQ(builder.Run(none), TBuildStatus::Ok) << builder.ErrorText();
    const TBuildReport& r = builder.Report();

    TKXBase base;
    ASSERT_TRUE(base.Load(o.Output)) << base.ErrorText();
    EXPECT_EQ(base.Name(), "Test");
    EXPECT_EQ(base.Parameters().LanguageName.Get(), "Fixture");
    EXPECT_EQ(base.Depth(), 3);
    EXPECT_EQ(static_cast<long long>(fs::file_size(o.Output)), r.FileSize);
    EXPECT_EQ(std::memcmp(&base.Alphabet(), &builder.Header().Alphabet, sizeof(TAlphabet)), 0);

    // Four canonical characters; capitals share the small letter's position.
    const TAlphabet& a = base.Alphabet();
    EXPECT_EQ(a.Count(), 4);
    EXPECT_EQ(a.Normalize('A'), 'a');
    EXPECT_EQ(a.Normalize('B'), 'b');
    EXPECT_EQ(a.Normalize(' '), ' ');
    EXPECT_EQ(a.Normalize('1'), 0);
    EXPECT_EQ(a.Normalize(','), 0);

    // The root holds every counted sequence, each leaf its own count, and each
    // level as many elements as the report's distinct sequences of that length.
    EXPECT_EQ(base.Root()->Count, r.Sequences);
    std::map<std::string, long long> leaves;
    std::vector<long long> perLevel(4, 0);
    std::vector<std::pair<const TBaseStructure*, std::string>> stack{{base.Root(), ""}};
    while (!stack.empty()) {
        auto [e, path] = stack.back();
        stack.pop_back();
        for (const TBaseStructure* c = e->ChildElement(); c; c = c->NextElement()) {
            ++perLevel[c->Level];
            const std::string p = path + static_cast<char>(c->Char);
            if (c->ChildElement())
                stack.emplace_back(c, p);
            else
                leaves[p] = c->Count;
        }
    }
    const std::map<std::string, long long> counted(builder.Counts().begin(),
                                                   builder.Counts().end());
    EXPECT_EQ(leaves, counted);
    EXPECT_EQ(perLevel[1], r.DistinctByLength[1]);
    EXPECT_EQ(perLevel[2], r.DistinctByLength[2]);
    EXPECT_EQ(perLevel[3], r.DistinctByLength[3]);
    EXPECT_EQ(r.Leaves(), static_cast<long long>(leaves.size()));

    // White space collapsed to "Ab ab. ab abba, 12 ab BA."; the comma and the
    // digits cut it into the runs "Ab ab. ab abba", " " (too short) and " ab BA.".
    EXPECT_EQ(r.Sequences, 12 + 5);
    EXPECT_EQ(counted.at(" ab"), 4);
    EXPECT_EQ(counted.at("ab "), 2);
    EXPECT_EQ(counted.at("Ab "), 1);
    EXPECT_EQ(counted.at(" BA"), 1);
    EXPECT_EQ(r.DroppedBy[static_cast<int>(TDropReason::NotInAlphabet)], 3);
    EXPECT_EQ(r.Kept, 14 + 1 + 7);
}

TEST_F(BaseBuildTest, SiblingsComeInDescendingCountThenByteOrder)
{
    const std::string corpus = Write("c.txt", "ba ca ba da ca ba");
    ASSERT_EQ(Run({"--codepage", "1252", "--charset", "0", "--depth", "2", "--min-count", "1",
                   "-o", File("S.Base"), corpus}),
              0)
        << Err;
    TKXBase base;
    ASSERT_TRUE(base.Load(File("S.Base"))) << base.ErrorText();
    std::string firstLevel;
    for (const TBaseStructure* c = base.Root()->ChildElement(); c; c = c->NextElement())
        firstLevel += static_cast<char>(c->Char);
    // First characters of the pairs: space 5, a 5, b 3, c 2, d 1.
    EXPECT_EQ(firstLevel, " abcd");
    EXPECT_NE(Out.find("Leaves"), std::string::npos);
    EXPECT_NE(Out.find("file size " + GroupDigits(fs::file_size(File("S.Base")))),
              std::string::npos)
        << Out;
}

// Every kind of bad input ends with status 2, a message and no output file; an
// output that already exists is left as it was.
TEST_F(BaseBuildTest, BadInputExitsWithTwoAndWritesNothing)
{
    const std::string text = Write("text.txt", "abc abc abc abc\n");
    const std::string letters = Write("letters.txt", "space\na\nb\nc\n");
    const std::string cyrillic = Write("cyrillic.txt", "space\na\nж\n");
    const std::string twice = Write("twice.txt", "a\nb\na\n");
    const std::string badFold = Write("bad.fold", "é\n");
    const std::string digits = Write("digits.txt", "1234 5678\n");
    const std::string tooShort = Write("short.txt", "abc\n");
    const std::string missing = File("missing.txt");
    const std::string out = File("Out.Base");
    fs::create_directory(Temp.Path() / "folder");

    struct TCase {
        const char* Name;
        std::vector<std::string> Args;
        const char* Message;
    };
    const std::vector<TCase> cases = {
        {"unknown code page", {"--codepage", "9999", "--charset", "0", "-o", out, text},
         "unknown code page 9999"},
        {"multi-byte code page", {"--codepage", "65001", "--charset", "0", "-o", out, text},
         "unknown code page"},
        {"code page not a number", {"--codepage", "latin", "--charset", "0", "-o", out, text},
         "unknown code page"},
        {"alphabet character outside the code page",
         {"--codepage", "1252", "--charset", "0", "--alphabet", cyrillic, "-o", out, text},
         "U+0436"},
        {"alphabet character listed twice",
         {"--codepage", "1252", "--charset", "0", "--alphabet", twice, "-o", out, text},
         "already listed"},
        {"malformed fold line",
         {"--codepage", "1252", "--charset", "0", "--fold", badFold, "-o", out, text},
         "line 1"},
        {"nothing left after cleaning",
         {"--codepage", "1252", "--charset", "0", "--alphabet", letters, "-o", out, digits},
         "nothing is left"},
        {"runs shorter than the depth",
         {"--codepage", "1252", "--charset", "0", "--min-count", "1", "-o", out, tooShort},
         "nothing is left"},
        {"empty input", {"--codepage", "1252", "--charset", "0", "-o", out, "-"},
         "nothing is left"},
        {"missing input", {"--codepage", "1252", "--charset", "0", "-o", out, missing},
         "missing.txt"},
        {"folder as input",
         {"--codepage", "1252", "--charset", "0", "-o", out, (Temp.Path() / "folder").string()},
         "is a folder"},
        {"missing alphabet file",
         {"--codepage", "1252", "--charset", "0", "--alphabet", missing, "-o", out, text},
         "missing.txt"},
        {"missing output folder",
         {"--codepage", "1252", "--charset", "0", "-o", File("none/Out.Base"), text},
         "does not exist"},
        {"missing information folder",
         {"--codepage", "1252", "--charset", "0", "--info", File("none/Out.Info"), "-o", out,
          text},
         "does not exist"},
        {"charset out of range", {"--codepage", "1252", "--charset", "256", "-o", out, text},
         "0 to 255"},
        {"no charset", {"--codepage", "1252", "-o", out, text}, "--charset"},
        {"no output", {"--codepage", "1252", "--charset", "0", text}, "-o"},
        {"no input", {"--codepage", "1252", "--charset", "0", "-o", out}, "no input"},
        {"unknown option", {"--codepage", "1252", "--charset", "0", "--deep", "3", text},
         "unknown option --deep"},
        {"name outside the code page",
         {"--codepage", "1252", "--charset", "0", "--name", "Русский", "-o", out, text},
         "does not fit"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Run(c.Args), 2);
        EXPECT_NE(Err.find(c.Message), std::string::npos) << Err;
        EXPECT_TRUE(Out.empty());
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(File("Out.Info")));
    }

    // A bad run leaves an existing base untouched, and no temporary file behind.
    Write("Out.Base", "old");
    EXPECT_EQ(Run({"--codepage", "1252", "--charset", "0", "-o", out, digits, missing}), 2);
    EXPECT_EQ(ReadBytes(out), "old");
    int files = 0;
    for (const auto& entry : fs::directory_iterator(Temp.Path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 8); // the seven fixtures and the old base
}

TEST_F(BaseBuildTest, WindowsCodePagesOfEveryScriptAreAccepted)
{
    for (int codePage = 1250; codePage <= 1257; ++codePage) {
        SCOPED_TRACE(codePage);
        EXPECT_EQ(Run({"--codepage", std::to_string(codePage), "--charset", "0", "--min-count",
                       "1", "-o", File("C.Base"), "-"},
                      "abc abc"),
                  0)
            << Err;
    }
}

TEST_F(BaseBuildTest, FoldingReplacesCharactersBeforeCounting)
{
    const std::string alphabet = "space\na\nc\ne\nf\no\nr\nu\n";
    const auto counts = Count("Café cœur éfé", 3, alphabet, "# folds\né e\nœ oe\nÉ E\n");
    const std::map<std::string, long long> expected = {
        {"Caf", 1}, {"afe", 1}, {"fe ", 1}, {"e c", 1}, {" co", 1}, {"coe", 1},
        {"oeu", 1}, {"eur", 1}, {"ur ", 1}, {"r e", 1}, {" ef", 1}, {"efe", 1}};
    EXPECT_EQ(counts, expected);
}

// No counted sequence spans a dropped character; runs shorter than the depth
// count nothing; white space of any kind collapses to one space.
TEST_F(BaseBuildTest, RunsEndAtDroppedCharacters)
{
    struct TCase {
        const char* Text;
        int Depth;
        std::map<std::string, long long> Expected;
    };
    const std::vector<TCase> cases = {
        {"ab1cd", 2, {{"ab", 1}, {"cd", 1}}},
        {"abc1de", 3, {{"abc", 1}}},
        {"ab\t\r\n  \u00a0cd", 2, {{"ab", 1}, {"b ", 1}, {" c", 1}, {"cd", 1}}},
        {"ab 7 ba", 2, {{"ab", 1}, {"b ", 1}, {" b", 1}, {"ba", 1}}},
        {"ab\x01" "ab", 2, {{"ab", 2}}},
        {"ab\xff\xfe" "ab", 2, {{"ab", 2}}},
        {"ab\xe2\x82\xac" "ab", 2, {{"ab", 2}}}, // the euro sign is in 1252 but not listed
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(Count(c.Text, c.Depth, "space\na\nb\nc\nd\ne\n"), c.Expected);
    }
}

TEST_F(BaseBuildTest, DerivedAlphabetKeepsFrequentCharactersWithCapitalsJoined)
{
    TBaseBuildOptions o;
    o.CodePage = 1252;
    o.Charset = 0;
    o.Depth = 2;
    o.MinCount = 3;
    // a 6 times, A once (joins a and counts with it), b 3, x once (too rare),
    // ж 3 (not in 1252).
    o.Inputs = {Write("in.txt", "aAb aab aab axжжж")};
    o.Output = File("D.Base");
    TBaseBuilder builder(o);
    std::istringstream none;
    ASSERT_EQ(builder.Analyse(none), TBuildStatus::Ok) << builder.ErrorText();
    const TAlphabet& a = builder.Header().Alphabet;
    EXPECT_EQ(a.Count(), 3); // space, a, b — in byte order
    EXPECT_EQ(a.CharAt(1), ' ');
    EXPECT_EQ(a.CharAt(2), 'a');
    EXPECT_EQ(a.CharAt(3), 'b');
    EXPECT_EQ(a.Normalize('A'), 'a');
    EXPECT_EQ(a.Normalize('B'), 0); // never seen
    EXPECT_EQ(a.Normalize('x'), 0);
    const TBuildReport& r = builder.Report();
    EXPECT_EQ(r.DroppedBy[static_cast<int>(TDropReason::TooRare)], 1);
    EXPECT_EQ(r.DroppedBy[static_cast<int>(TDropReason::NotInCodePage)], 3);
    ASSERT_FALSE(r.TopDropped.empty());
    EXPECT_EQ(r.TopDropped.front().first, U'ж');
}

TEST_F(BaseBuildTest, AlphabetFileGroupsCharactersAndCanKeepCapitalsApart)
{
    TBaseBuildOptions o;
    o.CodePage = 1251;
    o.Charset = 204;
    o.Depth = 2;
    o.AlphabetFile = Write("abc.txt", "space\nе ё\nЖ\nж\n'\n");
    o.Inputs = {Write("in.txt", "Ёж Жё 'е")};
    o.Output = File("R.Base");
    TBaseBuilder builder(o);
    std::istringstream none;
    ASSERT_EQ(builder.Run(none), TBuildStatus::Ok) << builder.ErrorText();
    TKXBase base;
    ASSERT_TRUE(base.Load(o.Output)) << base.ErrorText();
    const TAlphabet& a = base.Alphabet();
    EXPECT_EQ(base.Alphabet().Charset(), 204);
    // Bytes in code page 1251: е E5, ё B8, Ё A8, Е C5, ж E6, Ж C6.
    EXPECT_EQ(a.Count(), 5);
    EXPECT_EQ(a.Normalize(0xB8), 0xE5); // ё shares е's weight
    EXPECT_EQ(a.Normalize(0xA8), 0xE5); // and so do the capitals
    EXPECT_EQ(a.Normalize(0xC5), 0xE5);
    EXPECT_EQ(a.Normalize(0xC6), 0xC6); // Ж is listed on its own
    EXPECT_EQ(a.Normalize(0xE6), 0xE6);
    EXPECT_EQ(a.Normalize('\''), '\'');
}

TEST(CharacterRules, CaseMappingCoversTheSingleByteScripts)
{
    const std::pair<char32_t, char32_t> pairs[] = {
        {U'a', U'A'}, {U'z', U'Z'}, {U'é', U'É'}, {U'þ', U'Þ'}, {U'ÿ', U'Ÿ'}, {U'œ', U'Œ'},
        {U'š', U'Š'}, {U'ł', U'Ł'}, {U'ž', U'Ž'}, {U'ā', U'Ā'}, {U'ж', U'Ж'}, {U'я', U'Я'},
        {U'ё', U'Ё'}, {U'є', U'Є'}, {U'ї', U'Ї'}, {U'ґ', U'Ґ'}, {U'σ', U'Σ'}, {U'ά', U'Ά'},
        {U'ώ', U'Ώ'}};
    for (const auto& [lower, upper] : pairs) {
        EXPECT_EQ(ToUpper(lower), upper) << DescribeChar(lower);
        EXPECT_EQ(ToLower(upper), lower) << DescribeChar(upper);
        EXPECT_EQ(ToUpper(upper), upper) << DescribeChar(upper);
        EXPECT_EQ(ToLower(lower), lower) << DescribeChar(lower);
    }
    for (char32_t same : {U'ß', U'÷', U'×', U'1', U' ', U'\'', U'µ', U'ĸ'}) {
        EXPECT_EQ(ToUpper(same), same) << DescribeChar(same);
        EXPECT_EQ(ToLower(same), same) << DescribeChar(same);
    }
}

TEST_F(BaseBuildTest, InformationFileHoldsTheWordLengthWithCrLf)
{
    // Words with the space after each: "aa " "bb, " "c " = 9 characters, 3 words.
    const std::string corpus = Write("in.txt", "aa  bb,\n c\n");
    ASSERT_EQ(Run({"--codepage=1252", "--charset=0", "--depth=2", "--min-count=1",
                   "--info", File("X.Info"), "-o", File("X.Base"), corpus}),
              0)
        << Err;
    EXPECT_EQ(ReadBytes(File("X.Info")), "[GENERAL]\r\nAverageWordLength=3.00\r\n");

    ASSERT_EQ(Run({"--codepage", "1252", "--charset", "0", "--word-length", "5.7", "--min-count", "1",
                   "--info",
                   File("Y.Info"), "-o", File("Y.Base"), "-"},
                  "aa bb cc"),
              0)
        << Err;
    EXPECT_EQ(ReadBytes(File("Y.Info")), "[GENERAL]\r\nAverageWordLength=5.70\r\n");
    TKXBase base;
    EXPECT_TRUE(base.Load(File("Y.Base"))) << base.ErrorText();
    EXPECT_EQ(base.Parameters().LanguageName.Get(), "Y");
}

} // namespace

namespace {
// The languages that ship: each base loads, is well formed for the generator
// and holds only characters of its alphabet; each has its information file.
TEST(ShippedLanguages, BasesLoadAndKeepToTheirAlphabets)
{
    const fs::path folder = fs::path(KEXORA_SOURCE_DIR) / "data" / "Modules" / "Languages";
    const std::pair<const char*, int> languages[] = {{"English", 0}, {"Russian", 204},
                                                     {"German", 0},  {"French", 0},
                                                     {"Spanish", 0}, {"Ukrainian", 204}};
    for (const auto& [name, charset] : languages) {
        SCOPED_TRACE(name);
        TKXBase base;
        ASSERT_TRUE(base.Load((folder / (std::string(name) + ".Base")).string()))
            << base.ErrorText();
        EXPECT_EQ(base.Depth(), 4);
        EXPECT_EQ(base.Alphabet().Charset(), charset);
        EXPECT_LT(fs::file_size(folder / (std::string(name) + ".Base")), 4u << 20);
        for (char digit = '0'; digit <= '9'; ++digit)
            EXPECT_EQ(base.Alphabet().IndexOf(static_cast<std::uint8_t>(digit)), 0);
        EXPECT_NE(base.Alphabet().IndexOf(' '), 0);

        std::vector<const TBaseStructure*> stack{base.Root()};
        int outside = 0;
        while (!stack.empty()) {
            const TBaseStructure* e = stack.back();
            stack.pop_back();
            for (const TBaseStructure* c = e->ChildElement(); c; c = c->NextElement()) {
                outside += base.Alphabet().Normalize(c->Char) == 0 ? 1 : 0;
                stack.push_back(c);
            }
        }
        EXPECT_EQ(outside, 0);

        const std::string text = ReadBytes(folder / (std::string(name) + ".Info"));
        EXPECT_EQ(text.rfind("[GENERAL]\r\nAverageWordLength=", 0), 0u) << text;
        const double length = std::atof(text.c_str() + text.find('=') + 1);
        EXPECT_GT(length, 4.5);
        EXPECT_LT(length, 8.0);
    }
}
} // namespace
