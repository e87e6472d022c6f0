#include "persistence/IniOptions.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class IniOptionsTest : public testing::Test {
protected:
    void TearDown() override { TIniOptions::SetDecimalSeparator(0); }

    std::string File() const { return Folder / "Options.ini"; }
    std::string Text() const { return ReadBytes(File()); }

    TTempFolder Folder;
};

TEST_F(IniOptionsTest, MissingValueWritesDefaultBackAndNextReadComesFromFile)
{
    TIniOptions options(File(), true);
    EXPECT_EQ(options.ReadString("GENERAL", "DefaultUser.Name", "Ann"), "Ann");
    EXPECT_EQ(options.GetLastError(), "");
    EXPECT_EQ(Text(), "[GENERAL]\r\nDefaultUser.Name=Ann\r\n");

    WriteBytes(File(), "[general]\r\ndefaultuser.name = Bob\r\n");
    EXPECT_EQ(options.ReadString("GENERAL", "DefaultUser.Name", "Ann"), "Bob");
    EXPECT_EQ(Text(), "[general]\r\ndefaultuser.name = Bob\r\n")
        << "a found value is not rewritten";
}

TEST_F(IniOptionsTest, EmptyValueIsReplacedByDefault)
{
    WriteBytes(File(), "[Main]\r\nA=1\r\nKey=\r\nB=2\r\n");
    TIniOptions options(File(), true);
    EXPECT_EQ(options.ReadInteger("Main", "Key", 7), 7);
    EXPECT_EQ(Text(), "[Main]\r\nA=1\r\nKey=7\r\nB=2\r\n");
}

TEST_F(IniOptionsTest, MissingFolderReturnsDefaultAndReportsIt)
{
    TIniOptions options(Folder / "absent/Profile.ini", true);
    EXPECT_EQ(options.ReadString("Main", "Key", "d"), "d");
    EXPECT_EQ(options.GetLastError(), "Can't save default value");
    options.WriteString("Main", "Key", "v");
    EXPECT_EQ(options.GetLastError(), "Error while inifile writing");
    EXPECT_EQ(options.ReadString("Main", "Other", "x"), "x");
    EXPECT_EQ(options.GetLastError(), "Can't save default value");
    options.WriteString("Main", "Key", "v");
    EXPECT_FALSE(fs::exists(Folder / "absent"));
}

TEST_F(IniOptionsTest, ReadOnlyStoreNeverWrites)
{
    WriteBytes(File(), "[Main]\r\nKey=1\r\n");
    TIniOptions options(File(), false);
    EXPECT_EQ(options.ReadInteger("Main", "Missing", 5), 5);
    EXPECT_EQ(options.ReadInteger("Main", "Key", 5), 1);
    options.WriteInteger("Main", "Key", 9);
    EXPECT_EQ(options.GetLastError(), "");
    EXPECT_EQ(Text(), "[Main]\r\nKey=1\r\n");
}

TEST_F(IniOptionsTest, ColoursAndBooleans)
{
    TIniOptions options(File(), true);
    options.WriteColor("Main", "Written", 0x0000FF);
    EXPECT_EQ(options.ReadColor("Main", "Defaulted", 255), 255u);
    options.WriteColor("Main", "System", 0x80000005);
    options.WriteBool("Main", "On", true);
    options.WriteBool("Main", "Off", false);
    EXPECT_EQ(Text(), "[Main]\r\nWritten=$0000FF\r\nDefaulted=255\r\nSystem=$80000005\r\nOn=1\r\n"
                      "Off=0\r\n");
    EXPECT_EQ(options.ReadColor("Main", "Written", 0), 255u);
    EXPECT_EQ(options.ReadColor("Main", "System", 0), 0x80000005u);
    EXPECT_EQ(options.ReadColor("Main", "SystemDefault", 0x80000005), 0x80000005u);
    EXPECT_TRUE(options.ReadBool("Main", "On", false));
    EXPECT_FALSE(options.ReadBool("Main", "Off", true));
}

TEST_F(IniOptionsTest, StoredTextThatIsNoNumberThrowsAndIsKept)
{
    const std::string text = "[Main]\r\nTwo=2\r\nMinus=-1\r\nWord=yes\r\nHalf=1.5x\r\n";
    WriteBytes(File(), text);
    TIniOptions options(File(), true);
    EXPECT_TRUE(options.ReadBool("Main", "Two", false));
    EXPECT_TRUE(options.ReadBool("Main", "Minus", false));
    EXPECT_THROW(options.ReadBool("Main", "Word", false), EConvertError);
    EXPECT_THROW(options.ReadInteger("Main", "Word", 0), EConvertError);
    EXPECT_THROW(options.ReadColor("Main", "Word", 0), EConvertError);
    EXPECT_THROW(options.ReadFloat("Main", "Half", 0), EConvertError);
    EXPECT_EQ(Text(), text);
}

TEST_F(IniOptionsTest, FloatUsesTheLocaleSeparator)
{
    TIniOptions options(File(), true);
    TIniOptions::SetDecimalSeparator('.');
    EXPECT_DOUBLE_EQ(options.ReadFloat("Main", "Dot", 1.5), 1.5);
    TIniOptions::SetDecimalSeparator(',');
    EXPECT_DOUBLE_EQ(options.ReadFloat("Main", "Comma", 1.5), 1.5);
    EXPECT_EQ(Text(), "[Main]\r\nDot=1.5\r\nComma=1,5\r\n");
    // In a comma locale both forms read; with a dot only the dot does.
    EXPECT_DOUBLE_EQ(options.ReadFloat("Main", "Dot", 0), 1.5);
    EXPECT_DOUBLE_EQ(options.ReadFloat("Main", "Comma", 0), 1.5);
    TIniOptions::SetDecimalSeparator('.');
    EXPECT_THROW(options.ReadFloat("Main", "Comma", 0), EConvertError);
}

TEST_F(IniOptionsTest, TwoStoresOnOneFileSeeEachOthersWrites)
{
    TIniOptions first(File(), true);
    TIniOptions second(File(), true);
    first.WriteInteger("Main", "Key", 1);
    EXPECT_EQ(second.ReadInteger("Main", "Key", 0), 1);
    second.WriteString("Main", "Key", "2");
    EXPECT_EQ(first.ReadInteger("Main", "Key", 0), 2);
}

struct TIntegerCase {
    const char* Text;
    int Value;
};

TEST(IniOptionsConversion, IntegerTexts)
{
    const TIntegerCase valid[] = {{"0", 0},
                                  {"42", 42},
                                  {"-17", -17},
                                  {"+5", 5},
                                  {"$1F", 31},
                                  {"$ff", 255},
                                  {"0x10", 16},
                                  {"-$10", -16},
                                  {"$FFFFFFFF", -1},
                                  {"$80000005", static_cast<int>(0x80000005u)},
                                  {"2147483647", 2147483647},
                                  {"-2147483648", -2147483647 - 1}};
    for (const TIntegerCase& c : valid)
        EXPECT_EQ(TIniOptions::TextToInteger(c.Text), c.Value) << c.Text;
    for (const char* text :
         {"", "-", "$", "12abc", "1.0", "2147483648", "-2147483649", "$100000000", "yes", "$G"})
        EXPECT_THROW(TIniOptions::TextToInteger(text), EConvertError) << text;
}

TEST(IniOptionsConversion, FloatTextsRejectWhatIsNotPlainDecimal)
{
    TIniOptions::SetDecimalSeparator('.');
    EXPECT_DOUBLE_EQ(TIniOptions::TextToFloat("-2.25"), -2.25);
    EXPECT_DOUBLE_EQ(TIniOptions::TextToFloat("1e3"), 1000.0);
    for (const char* text : {"", "inf", "nan", "0x1p3", "1.5.5", "-", "1 5"})
        EXPECT_THROW(TIniOptions::TextToFloat(text), EConvertError) << text;
    TIniOptions::SetDecimalSeparator(0);
}

// The settings file must survive a user who may not write it: run as an
// unprivileged user in a child process (the tests run as root here, which
// may write anything).
class IniOptionsUnprivileged : public IniOptionsTest {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs to start as root to drop to another user";
        fs::permissions(Folder.Path(), fs::perms::all);
    }

    static void BecomeNobody()
    {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            std::_Exit(10);
    }
};

TEST_F(IniOptionsUnprivileged, UnwritableFileKeepsItsTextAndReportsTheFailure)
{
    const std::string text = "[Main]\r\nKey=1\r\n";
    WriteBytes(File(), text);
    fs::permissions(File(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EXIT(
        {
            BecomeNobody();
            TIniOptions options(File(), true);
            options.WriteString("Main", "Key", "2");
            if (options.GetLastError() != "Error while inifile writing")
                std::_Exit(1);
            if (options.ReadString("Main", "Missing", "d") != "d" ||
                options.GetLastError() != "Can't save default value")
                std::_Exit(2);
            if (options.ReadInteger("Main", "Key", 0) != 1)
                std::_Exit(3);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(Text(), text);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder.Path()), fs::directory_iterator()), 1);
}

TEST_F(IniOptionsUnprivileged, UnreadableFileIsNeverOverwrittenByDefaults)
{
    const std::string text = "[Main]\r\nKey=1\r\n";
    WriteBytes(File(), text);
    fs::permissions(File(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
    EXPECT_EXIT(
        {
            BecomeNobody();
            TIniOptions options(File(), true);
            if (options.ReadString("Main", "Key", "d") != "d" ||
                options.GetLastError() != "Error while inifile reading")
                std::_Exit(1);
            options.WriteString("Main", "Other", "x");
            if (options.GetLastError() != "Error while inifile writing")
                std::_Exit(2);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(Text(), text);
}

} // namespace
