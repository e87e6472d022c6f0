#include "persistence/IniDocument.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct TFindCase {
    const char* Name;
    std::string Text;
    const char* Section;
    const char* Key;
    std::optional<std::string> Expected;
};

class IniDocumentFind : public testing::TestWithParam<TFindCase> {};

TEST_P(IniDocumentFind, ReadsLikeAPrivateProfile)
{
    const TFindCase& c = GetParam();
    EXPECT_EQ(TIniDocument(c.Text).Find(c.Section, c.Key), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniDocumentFind,
    testing::Values(
        TFindCase{"CaseBlindNames", "[GENERAL]\r\nDefaultUser.Name=Ann\r\n", "general",
                  "defaultuser.NAME", "Ann"},
        TFindCase{"BlanksTrimmed", "  [ Main ]  \n \t Key  =  some value \t \n", "Main", "Key",
                  "some value"},
        TFindCase{"QuotesKeepInnerBlanks", "[Main]\nKey= \"  a b  \" \n", "Main", "Key", "  a b  "},
        TFindCase{"OnlyOnePairOfQuotes", "[Main]\nKey=\"\"x\"\"\n", "Main", "Key", "\"x\""},
        TFindCase{"UnpairedQuoteKept", "[Main]\nKey=\"x\n", "Main", "Key", "\"x"},
        TFindCase{"SingleQuoteCharacter", "[Main]\nKey=\"\n", "Main", "Key", "\""},
        TFindCase{"EqualsInValue", "[Main]\nKey=a=b\n", "Main", "Key", "a=b"},
        TFindCase{"PresentButEmpty", "[Main]\nKey=\n", "Main", "Key", ""},
        TFindCase{"MissingKey", "[Main]\nOther=1\n", "Main", "Key", std::nullopt},
        TFindCase{"MissingSection", "[Main]\nKey=1\n", "Other", "Key", std::nullopt},
        TFindCase{"EmptyText", "", "Main", "Key", std::nullopt},
        TFindCase{"KeyOfAnotherSection", "[A]\nKey=1\n[B]\nOther=2\n", "B", "Key", std::nullopt},
        TFindCase{"KeyBeforeAnySection", "Key=1\n[Main]\n", "Main", "Key", std::nullopt},
        TFindCase{"CommentIsNoKey", "[Main]\n;Key=1\nKey=2\n", "Main", "Key", "2"},
        TFindCase{"FirstSectionAndKeyWin", "[Main]\nKey=1\nKey=2\n[main]\nKey=3\n", "Main", "Key",
                  "1"},
        TFindCase{"BytesAbove127", "[Main]\nKey=\xC0\xFF\x98\x81\n", "Main", "Key",
                  "\xC0\xFF\x98\x81"},
        TFindCase{"Utf8BomBeforeFirstSection", "\xEF\xBB\xBF[Main]\r\nKey=1\r\n", "Main", "Key",
                  "1"},
        TFindCase{"LastLineWithoutBreak", "[Main]\r\nKey=last", "Main", "Key", "last"},
        TFindCase{"MixedLineEndings", "[A]\r\nx=1\n[B]\ny=2\r\n", "B", "y", "2"},
        TFindCase{"CappedAt2047", "[Main]\nKey=" + std::string(3000, 'x') + "\n", "Main", "Key",
                  std::string(2047, 'x')}),
    [](const testing::TestParamInfo<TFindCase>& row) { return row.param.Name; });

struct TSetCase {
    const char* Name;
    std::string Before;
    const char* Section;
    const char* Key;
    std::string Value;
    std::string After;
};

class IniDocumentSet : public testing::TestWithParam<TSetCase> {};

TEST_P(IniDocumentSet, ChangesOnlyItsOwnLine)
{
    const TSetCase& c = GetParam();
    TIniDocument document(c.Before);
    ASSERT_TRUE(document.Set(c.Section, c.Key, c.Value));
    EXPECT_EQ(document.Text(), c.After);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniDocumentSet,
    testing::Values(TSetCase{"NewTextUsesCrLf", "", "Main", "Key", "1", "[Main]\r\nKey=1\r\n"},
                    TSetCase{
                        "ReplaceKeepsEverythingElse",
                        "; settings\r\n[Main]\r\nA = 1\r\n  Key = old ; note\r\n\r\nB=2\r\n[Z]\r\n",
                        "Main", "Key", "new",
                        "; settings\r\n[Main]\r\nA = 1\r\nKey=new\r\n\r\nB=2\r\n[Z]\r\n"},
                    TSetCase{"CaseBlindKeepsSpellingAndLf", "[MAIN]\nkEy=1\n", "main", "KEY", "2",
                             "[MAIN]\nkEy=2\n"},
                    TSetCase{"AppendsKeyAfterLastKeyOfSection", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
                             "a", "z", "3", "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
                    TSetCase{"AppendsKeyToEmptySection", "[Main]\r\n; nothing yet", "Main", "K",
                             "v", "[Main]\r\nK=v\r\n; nothing yet"},
                    TSetCase{"AppendsSectionAfterUnterminatedLine", "[A]\nx=1", "B", "y", "2",
                             "[A]\nx=1\n\n[B]\ny=2\n"},
                    TSetCase{"LineBreaksInValueCannotAddKeys", "", "Main", "Key",
                             "a\r\n[Main]\nb=c", "[Main]\r\nKey=a  [Main] b=c\r\n"},
                    TSetCase{"BytesAbove127RoundTrip", "[\xD1\xEB]\r\nk=\xE0\r\n", "\xD1\xEB", "k",
                             "\xFF\x98", "[\xD1\xEB]\r\nk=\xFF\x98\r\n"},
                    TSetCase{"BomKept", "\xEF\xBB\xBF[Main]\nKey=1\n", "Main", "Key", "2",
                             "\xEF\xBB\xBF[Main]\nKey=2\n"}),
    [](const testing::TestParamInfo<TSetCase>& row) { return row.param.Name; });

TEST(IniDocument, UntouchedTextRoundTripsByteForByte)
{
    const std::string text =
        "\xEF\xBB\xBF; \xC0\xC1\r\n[A]\nx = \"1\" \r\n\r\n  junk line\n[B]\r\ny";
    EXPECT_EQ(TIniDocument(text).Text(), text);
}

TEST(IniDocument, EmptyNamesWriteNothing)
{
    TIniDocument document("[Main]\n");
    EXPECT_FALSE(document.Set("Main", "  ", "1"));
    EXPECT_FALSE(document.Set("", "Key", "1"));
    EXPECT_EQ(document.Text(), "[Main]\n");
}

TEST(IniDocument, ValueWithBreaksReadsBackAsOneLine)
{
    TIniDocument document;
    document.Set("Main", "Key", "a\nInjected=1");
    EXPECT_EQ(document.Find("Main", "Injected"), std::nullopt);
    EXPECT_EQ(document.Find("Main", "Key"), "a Injected=1");
}

} // namespace
