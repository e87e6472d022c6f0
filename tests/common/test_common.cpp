#include "common/CodePage.h"
#include "common/Colors.h"
#include "common/FindFiles.h"
#include "common/HighResolutionTimer.h"
#include "common/Messages.h"
#include "common/Random.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Random, FollowsTheLinearCongruentialSequence)
{
    // Values worked out by hand from state * 22695477 + 1, bits 16..30.
    TRandom r(1);
    EXPECT_EQ(r.Next(), 346);
    EXPECT_EQ(r.Next(), 130);
    EXPECT_EQ(r.Next(), 10982);
    for (int i = 0; i < 10000; ++i) {
        const int v = r.Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
}

TEST(Colors, PerChannelArithmeticTruncates)
{
    const TColor c = RGBColor(200, 101, 0);
    struct Case {
        const char* name;
        TColor got;
        TColor want;
    } cases[] = {
        {"darker 50", DarkerColor(c, 50), RGBColor(100, 51, 0)},
        {"darker 0 unchanged", DarkerColor(c, 0), c},
        {"darker -5 unchanged", DarkerColor(c, -5), c},
        {"darker 150 is 100", DarkerColor(c, 150), RGBColor(0, 0, 0)},
        {"lighter 50", LighterColor(c, 50), RGBColor(227, 178, 127)},
        {"lighter 200 is 100", LighterColor(c, 200), RGBColor(255, 255, 255)},
        {"mix", MixColors(c, RGBColor(0, 0, 255)), RGBColor(100, 50, 127)},
        {"gray", GrayColor(c), RGBColor(100, 100, 100)},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.got, k.want) << k.name;
}

TEST(CodePage, CharsetCodesMapToWindowsCodePages)
{
    const std::pair<int, int> table[] = {{0, 1252},   {238, 1250}, {204, 1251},
                                         {161, 1253}, {162, 1254}, {177, 1255},
                                         {178, 1256}, {186, 1257}, {163, 1258}};
    for (auto [charset, cp] : table)
        EXPECT_EQ(CharsetToCodePage(charset), cp) << charset;
}

TEST(CodePage, ConvertsBytesBothWaysAndMarksUndefinedBytes)
{
    const TCodePage* cp1251 = TCodePage::Get(1251);
    ASSERT_NE(cp1251, nullptr);
    // "Привет" in CP1251.
    const std::string bytes = "\xCF\xF0\xE8\xE2\xE5\xF2";
    EXPECT_EQ(cp1251->ToUtf8(bytes), "Привет");
    EXPECT_EQ(cp1251->FromUtf8("Привет"), bytes);
    EXPECT_EQ(cp1251->ToUnicode(0x98), TCodePage::Placeholder);
    EXPECT_FALSE(cp1251->IsDefined(0x98));

    const TCodePage* cp1252 = TCodePage::Get(1252);
    ASSERT_NE(cp1252, nullptr);
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_FALSE(cp1252->IsDefined(undefined)) << int(undefined);
    EXPECT_EQ(cp1252->ToUnicode(0x80), U'€');
    EXPECT_EQ(cp1252->ToUtf8("\xE4\xDF"), "äß");

    bool lossless = true;
    EXPECT_EQ(cp1252->FromUtf8("aЖb", &lossless), "a?b");
    EXPECT_FALSE(lossless);

    // The Vietnamese converter holds letters back for combining marks; the
    // table must still know every plain letter.
    const TCodePage* cp1258 = TCodePage::Get(1258);
    ASSERT_NE(cp1258, nullptr);
    EXPECT_EQ(cp1258->ToUtf8("abc\xE0"), "abcà");

    EXPECT_EQ(TCodePage::Get(99999), nullptr);
    EXPECT_EQ(TCodePage::ForCharset(204).Number(), 1251);
}

TEST(CodePage, Utf8DecodingSurvivesBrokenInput)
{
    EXPECT_EQ(Utf8ToUtf32("a\xC3"), (std::u32string{U'a', TCodePage::Placeholder}));
    EXPECT_EQ(Utf8ToUtf32("\xFF" "b"), (std::u32string{TCodePage::Placeholder, U'b'}));
    EXPECT_EQ(Utf32ToUtf8(Utf8ToUtf32("ёж€𝄞")), "ёж€𝄞");
}

TEST(Messages, HandlerReplacesStandardError)
{
    std::string seen;
    TMessageHandler previous = SetMessageHandler([&](const std::string& t) { seen = t; });
    ShowMessage("hello");
    SetMessageHandler(previous);
    EXPECT_EQ(seen, "hello");
}

TEST(FindFiles, ListsSubFoldersFirstAndMatchesMasks)
{
    const fs::path root = fs::temp_directory_path() / ("kx-find-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "sub" / "deeper");
    for (const fs::path& p : {root / "b.jpg", root / "a.JPG", root / "c.txt", root / "sub" / "d.jpg",
                              root / "sub" / "deeper" / "e.jpg"})
        std::ofstream(p) << "x";
    fs::create_directories(root / "folder.jpg");

    std::vector<std::string> list{"stale"};
    ASSERT_TRUE(FindFiles(root.string(), "*.jpg", true, list));
    const std::string sep(1, static_cast<char>(fs::path::preferred_separator));
    const std::string base = root.string() + sep;
    EXPECT_EQ(list, (std::vector<std::string>{base + "sub" + sep + "deeper" + sep + "e.jpg",
                                              base + "sub" + sep + "d.jpg", base + "a.JPG",
                                              base + "b.jpg"}));

    ASSERT_TRUE(FindFiles(root.string() + sep, "*.jpg", false, list));
    EXPECT_EQ(list.size(), 2u);
    EXPECT_FALSE(FindFiles((root / "missing").string(), "*", false, list));
    EXPECT_TRUE(list.empty());
    fs::remove_all(root);

    EXPECT_TRUE(MatchesMask("2008-03-07-09-05-01.stat", "*.stat"));
    EXPECT_FALSE(MatchesMask("x.stats", "*.stat"));
    EXPECT_TRUE(MatchesMask("abc", "a?c"));
}

TEST(HighResolutionTimer, SharesOneTimeBaseAndWraps)
{
    THighResolutionTimer first;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    THighResolutionTimer second;
    const std::uint32_t a = first.Now();
    const std::uint32_t b = second.Now();
    EXPECT_LE(b - a, 5u); // the same moment on both instances

    const std::uint32_t before = second.Now();
    second.Reset();
    EXPECT_LE(second.Now() - before, 5u); // a reset does not move the clock

    // A frequency that is not a multiple of 1000 is truncated to whole ticks
    // per millisecond: 3,579,545 Hz counts 3,579 ticks to the millisecond.
    EXPECT_EQ(THighResolutionTimer::CounterToMilliseconds(3579ull * 1000, 3579545), 1000u);
    // Readings wrap in 32 bits; differences across the wrap stay right.
    const std::uint32_t late = THighResolutionTimer::CounterToMilliseconds(0xFFFFFFF0ull * 1000, 1000000);
    const std::uint32_t early = THighResolutionTimer::CounterToMilliseconds(0x100000010ull * 1000, 1000000);
    EXPECT_EQ(early - late, 32u);
}
