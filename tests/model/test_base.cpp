#include "ModelFixtures.h"

#include "model/Alphabet.h"
#include "model/BinaryFile.h"

#include <gtest/gtest.h>


namespace {
std::string WriteRecords(const TTempFolder& dir, const std::string& name,
                         const std::vector<TBaseRecord>& records, int depth = 4)
{
    std::string error;
    const std::string path = dir.File(name);
    EXPECT_TRUE(WriteBaseFile(path, MakeHeader("abcd", depth), records, error)) << error;
    return path;
}

// Level and character of every element in pre-order, e.g. "1a 2b".
std::string Shape(const TBaseStructure* root)
{
    std::string out;
    for (const TBaseRecord& r : TreeRecords(*root)) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(r.Level) + static_cast<char>(r.Char) + ":" + std::to_string(r.Count);
    }
    return out;
}
} // namespace

TEST(Alphabet, NormalizesThroughTheIndexWithBoundsChecks)
{
    TAlphabet fresh;
    for (int b = 0; b < 256; ++b)
        ASSERT_EQ(fresh.Normalize(static_cast<std::uint8_t>(b)), 0);

    TAlphabet ab;
    ab.AddChar('a');
    ab.AddChar('b');
    ab.SetIndex('a', 1);
    ab.SetIndex('A', 1);
    ab.SetIndex('b', 2);
    ab.SetIndex('B', 2);
    ab.SetIndex('c', 3); // beyond the two characters listed
    const std::pair<char, char> cases[] = {{'a', 'a'}, {'A', 'a'}, {'b', 'b'}, {'B', 'b'},
                                           {'c', 0},   {' ', 0},   {'z', 0}};
    for (auto [in, out] : cases)
        EXPECT_EQ(ab.Normalize(static_cast<std::uint8_t>(in)), static_cast<std::uint8_t>(out)) << in;

    TAlphabet wide;
    for (int i = 0; i < 200; ++i) {
        const auto ch = static_cast<std::uint8_t>(i + 40);
        wide.SetIndex(ch, static_cast<std::uint8_t>(wide.AddChar(ch)));
    }
    EXPECT_EQ(wide.Count(), 200);
    for (int pos = 128; pos <= 200; ++pos)
        EXPECT_EQ(wide.Normalize(static_cast<std::uint8_t>(pos + 39)), pos + 39);
}

TEST(BaseLoad, BuildsThePreOrderTreeAndSumsCounts)
{
    TTempFolder dir;
    // Levels 1,2,3,4,4,3,4,1 (and a second chain down to level 4 so that
    // every leaf sits at the depth): inner records carry junk counts that
    // loading replaces by the sums of their leaves.
    const std::string path = dir.File("Sample.Base");
    std::string error;
    ASSERT_TRUE(WriteBaseFile(path, MakeHeader("abcd", 4),
                              {{1, 'a', 99}, {2, 'b', 99}, {3, 'c', 0}, {4, 'd', 5}, {4, 'a', 2},
                               {3, 'd', -7}, {4, 'b', 3}, {1, 'b', 9}, {2, 'a', 9}, {3, 'a', 9},
                               {4, 'a', 1}},
                              error));
    TKXBase base;
    ASSERT_TRUE(base.Load(path)) << base.ErrorText();
    EXPECT_EQ(Shape(base.Root()), "1a:10 2b:10 3c:7 4d:5 4a:2 3d:3 4b:3 1b:1 2a:1 3a:1 4a:1");
    EXPECT_EQ(base.Root()->Count, 11);
    EXPECT_EQ(base.Name(), "Sample");
    EXPECT_EQ(base.Depth(), 4);
    EXPECT_EQ(base.Alphabet().Normalize('C'), 'c');
    // The second level-3 element hangs under the level-2 element, after its sibling.
    const TBaseStructure* b2 = base.Root()->ChildElement()->ChildElement();
    EXPECT_EQ(b2->ChildElement()->NextElement()->Char, 'd');
    EXPECT_EQ(b2->ChildElement()->NextElement()->Level, 3);
}

TEST(BaseLoad, RecordThatSkipsLevelsHangsOneLevelDown)
{
    TTempFolder dir;
    const std::string path = WriteRecords(dir, "Skip.Base", {{1, 'a', 0}, {3, 'b', 4}}, 2);
    TKXBase base;
    ASSERT_TRUE(base.Load(path)) << base.ErrorText();
    const TBaseStructure* b = base.Root()->ChildElement()->ChildElement();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Level, 2);
    EXPECT_EQ(b->Char, 'b');
}

TEST(BaseLoad, HeaderOnlyFileAndNames)
{
    TTempFolder dir;
    const std::string path = WriteRecords(dir, "Dutch.Lang.Base", {});
    TKXBase base;
    ASSERT_TRUE(base.Load(path)) << base.ErrorText();
    EXPECT_EQ(base.Name(), "Dutch.Lang");
    EXPECT_EQ(base.Root()->Child, nullptr);
    EXPECT_EQ(base.Parameters().LanguageName.Get(), "English");
}

TEST(BaseLoad, ProgressStartsAtZeroEndsAtHundredAndStepsOnKilobytes)
{
    TTempFolder dir;
    std::map<std::string, long long> counts;
    for (char a = 'a'; a <= 'd'; ++a)
        for (char b = 'a'; b <= 'd'; ++b)
            for (char c = 'a'; c <= 'd'; ++c)
                for (char d = 'a'; d <= 'd'; ++d)
                    counts[std::string{a, b, c, d}] = 1 + (a + b + c + d) % 7;
    const std::string path = WriteCountsBase(dir, "Progress.Base", counts);
    const auto size = static_cast<long long>(std::filesystem::file_size(path));

    std::vector<int> seen;
    TKXBase base;
    base.OnProgress = [&](int p) { seen.push_back(p); };
    ASSERT_TRUE(base.Load(path)) << base.ErrorText();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    // Between the two ends, exactly the positions that are multiples of 1024.
    std::vector<int> expected{0};
    for (long long pos = BaseFormat::HeaderSize + BaseFormat::RecordSize; pos <= size;
         pos += BaseFormat::RecordSize)
        if (pos % 1024 == 0)
            expected.push_back(static_cast<int>(pos * 100 / size));
    expected.push_back(100);
    EXPECT_EQ(seen, expected);
}

// Every malformed file is refused with the file and the problem named, and
// the base keeps what it had loaded before.
TEST(BaseLoad, MalformedFilesFailAndKeepThePreviousBase)
{
    TTempFolder dir;
    const std::string good = WriteCountsBase(dir, "Good.Base", {{"abcd", 3}, {"abca", 1}});
    const std::string goodBytes = EncodeBase(MakeHeader("abcd"), RecordsFromCounts({{"abcd", 3}, {"abca", 1}}));

    struct Case {
        const char* name;
        std::string bytes;
        const char* problem;
    };
    TKXBaseParameters depth0 = MakeHeader("ab");
    depth0.Depth = 0;
    TKXBaseParameters depthNegative = MakeHeader("ab");
    depthNegative.Depth = -3;
    const std::vector<Case> cases = {
        {"empty file", "", "shorter than the header"},
        {"short header", goodBytes.substr(0, 2000), "shorter than the header"},
        {"cut last record", goodBytes.substr(0, goodBytes.size() - 2), "cut short"},
        {"depth 0", EncodeBase(depth0, {}), "depth 0 is below 1"},
        {"depth negative", EncodeBase(depthNegative, {}), "depth -3 is below 1"},
        {"leaf above depth", EncodeBase(MakeHeader("ab"), {{1, 'a', 1}, {2, 'b', 1}}),
         "ends at level 2"},
        {"leaf below depth",
         EncodeBase(MakeHeader("ab", 2), {{1, 'a', 1}, {2, 'b', 1}, {3, 'a', 1}}),
         "ends at level 3"},
        {"zero count", EncodeBase(MakeHeader("ab", 1), {{1, 'a', 1}, {1, 'b', 0}}),
         "count 0"},
        {"negative count", EncodeBase(MakeHeader("ab", 1), {{1, 'a', -4}}), "count -4"},
        {"level 0 record", EncodeBase(MakeHeader("ab", 1), {{1, 'a', 1}, {0, 'b', 1}}),
         "level 0"},
        {"counts overflow",
         EncodeBase(MakeHeader("ab", 1), {{1, 'a', 2147483647}, {1, 'b', 2}}),
         "more than 2147483647"},
    };

    for (const Case& c : cases) {
        TKXBase base;
        ASSERT_TRUE(base.Load(good)) << base.ErrorText();
        const TBaseStructure* rootBefore = base.Root();
        const std::string path = dir.File(std::string(c.name) + ".Base");
        WriteBytes(path, c.bytes);
        EXPECT_FALSE(base.Load(path)) << c.name;
        EXPECT_NE(base.ErrorText().find(path), std::string::npos) << c.name << ": " << base.ErrorText();
        EXPECT_NE(base.ErrorText().find(c.problem), std::string::npos)
            << c.name << ": " << base.ErrorText();
        EXPECT_EQ(base.Name(), "Good") << c.name;
        EXPECT_EQ(base.Root(), rootBefore) << c.name;
        EXPECT_EQ(base.Root()->Count, 4) << c.name;
        EXPECT_EQ(base.Depth(), 4) << c.name;
    }
}

TEST(BaseLoad, MissingFileReportsTheSystemError)
{
    TTempFolder dir;
    TKXBase base;
    EXPECT_FALSE(base.Load(dir.File("Nothing.Base")));
    EXPECT_EQ(base.ErrorText().rfind("Open error - ", 0), 0u) << base.ErrorText();
    EXPECT_NE(base.ErrorText().find("No such file"), std::string::npos);
    EXPECT_EQ(base.Name(), "");
}

TEST(BaseWriter, RoundTripsTreesAndOrdersSiblingsByCount)
{
    const auto records = RecordsFromCounts({{"ab", 1}, {"ac", 5}, {"ba", 2}, {"bb", 2}});
    // a (6) before b (4); under a, c (5) before b (1); equal counts by byte value.
    std::string shape;
    for (const TBaseRecord& r : records)
        shape += std::to_string(r.Level) + static_cast<char>(r.Char) + std::to_string(r.Count) + " ";
    EXPECT_EQ(shape, "1a6 2c5 2b1 1b4 2a2 2b2 ");

    TTempFolder dir;
    const std::string path = WriteCountsBase(dir, "Round.Base", {{"ab", 1}, {"ac", 5}, {"ba", 2}, {"bb", 2}}, 2);
    TKXBase base;
    ASSERT_TRUE(base.Load(path)) << base.ErrorText();
    std::string again;
    for (const TBaseRecord& r : TreeRecords(*base.Root()))
        again += std::to_string(r.Level) + static_cast<char>(r.Char) + std::to_string(r.Count) + " ";
    EXPECT_EQ(again, shape);

    std::string error;
    EXPECT_FALSE(WriteBaseFile(dir.File("no/such/folder/x.Base"), MakeHeader("a"), records, error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
}

TEST(TreeElements, GuardsAndLongSiblingChains)
{
    EXPECT_THROW(TDSStructure(nullptr, etSubElement), std::logic_error);
    TDSStructure parent(nullptr, etElement);
    EXPECT_THROW(TDSStructure(&parent, 7), std::logic_error);

    // AddChild puts the new element first and relinks the former first child.
    TBaseStructure root(nullptr, etElement);
    TBaseStructure* x = root.FindChild('x', true);
    TBaseStructure* y = root.FindChild('y', true);
    EXPECT_EQ(root.ChildElement(), y);
    EXPECT_EQ(y->NextElement(), x);
    EXPECT_EQ(x->Link, y);
    EXPECT_EQ(root.FindChild('x', false), x);
    EXPECT_EQ(root.FindChild('z', false), nullptr);

    // Destroying a very long chain of siblings must not exhaust the stack.
    auto* wide = new TBaseStructure(nullptr, etElement);
    TDSStructure* last = wide->AddChild();
    for (int i = 0; i < 300000; ++i)
        last = last->AddNext();
    delete wide;
}

TEST(BinaryFile, ReportsMisuse)
{
    TBinaryFile f;
    char buffer[4];
    EXPECT_FALSE(f.Read(buffer, 4));
    EXPECT_EQ(f.ErrorText, "File not opened!");
    EXPECT_FALSE(f.Eof());

    TTempFolder dir;
    const std::string path = dir.File("f.bin");
    WriteBytes(path, "abc");
    ASSERT_TRUE(f.Open(path, TBinaryFile::Binary | TBinaryFile::ReadOnly));
    EXPECT_FALSE(f.Open(path, TBinaryFile::Binary | TBinaryFile::ReadOnly));
    EXPECT_EQ(f.ErrorText, "Anover file is opened now!");
    long long got = 0;
    EXPECT_TRUE(f.Read(buffer, 4, &got)); // a short read at the end is no failure
    EXPECT_EQ(got, 3);
    EXPECT_TRUE(f.Eof());
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(f.FileName, "");
}
