#include "persistence/IniFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::size_t CountEntries(const fs::path& folder)
{
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A file whose last step, the rename over the old file, fails.
class TFailingReplace : public TIniFile {
public:
    using TIniFile::TIniFile;

protected:
    bool Replace(const fs::path&, const fs::path&) const override { return false; }
};

// A process that dies between writing the new text and putting it in place.
class TCrashBeforeReplace : public TIniFile {
public:
    using TIniFile::TIniFile;

protected:
    bool Replace(const fs::path&, const fs::path&) const override { _exit(3); }
};

const std::string OldText = "; kept\r\n[Main]\r\nKey=old \xE9\r\nOther=\xC0\xFF\r\n";

TEST(IniFile, MissingFileReadsEmptyAndWriteCreatesIt)
{
    TTempFolder folder;
    const TIniFile file(folder / "New.ini");
    std::string value = "x";
    ASSERT_TRUE(file.ReadValue("Main", "Key", value));
    EXPECT_EQ(value, "");
    ASSERT_TRUE(file.WriteValue("Main", "Key", "1"));
    EXPECT_EQ(ReadBytes(folder / "New.ini"), "[Main]\r\nKey=1\r\n");
    EXPECT_EQ(CountEntries(folder.Path()), 1u) << "no temporary file may stay behind";
}

TEST(IniFile, WriteChangesOneLineAndKeepsTheOtherBytes)
{
    TTempFolder folder;
    WriteBytes(folder / "Options.ini", OldText);
    ASSERT_TRUE(TIniFile(folder / "Options.ini").WriteValue("MAIN", "key", "new \xF0"));
    EXPECT_EQ(ReadBytes(folder / "Options.ini"),
              "; kept\r\n[Main]\r\nKey=new \xF0\r\nOther=\xC0\xFF\r\n");
}

TEST(IniFile, MissingFolderFailsToWrite)
{
    TTempFolder folder;
    EXPECT_FALSE(TIniFile(folder / "absent/Options.ini").WriteValue("Main", "Key", "1"));
    EXPECT_FALSE(fs::exists(folder / "absent"));
}

TEST(IniFile, FailedReplaceLeavesOldFileAndNoTemporary)
{
    TTempFolder folder;
    WriteBytes(folder / "Options.ini", OldText);
    EXPECT_FALSE(TFailingReplace(folder / "Options.ini").WriteValue("Main", "Key", "new"));
    EXPECT_EQ(ReadBytes(folder / "Options.ini"), OldText);
    EXPECT_EQ(CountEntries(folder.Path()), 1u);
}

TEST(IniFile, CrashBetweenWriteAndRenameLeavesOldFileWhole)
{
    TTempFolder folder;
    WriteBytes(folder / "Options.ini", OldText);
    EXPECT_EXIT(TCrashBeforeReplace(folder / "Options.ini").WriteValue("Main", "Key", "new"),
                testing::ExitedWithCode(3), "");
    EXPECT_EQ(ReadBytes(folder / "Options.ini"), OldText);
    // The finished new text waits beside it; the old file was never opened for writing.
    EXPECT_EQ(CountEntries(folder.Path()), 2u);
}

TEST(IniFile, WriteThroughSymbolicLinkKeepsTheLink)
{
    TTempFolder folder;
    WriteBytes(folder / "Real.ini", OldText);
    fs::create_symlink(folder / "Real.ini", folder / "Link.ini");
    ASSERT_TRUE(TIniFile(folder / "Link.ini").WriteValue("Main", "Added", "1"));
    EXPECT_TRUE(fs::is_symlink(folder / "Link.ini"));
    std::string value;
    ASSERT_TRUE(TIniFile(folder / "Real.ini").ReadValue("Main", "Added", value));
    EXPECT_EQ(value, "1");
}

TEST(IniFile, ReplacedFileKeepsItsPermissions)
{
    TTempFolder folder;
    WriteBytes(folder / "Options.ini", OldText);
    fs::permissions(folder / "Options.ini", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(TIniFile(folder / "Options.ini").WriteValue("Main", "Key", "2"));
    EXPECT_EQ(fs::status(folder / "Options.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(IniFile, FolderInPlaceOfFileFailsBothWays)
{
    TTempFolder folder;
    fs::create_directory(folder / "Options.ini");
    const TIniFile file(folder / "Options.ini");
    std::string value;
    EXPECT_FALSE(file.ReadValue("Main", "Key", value));
    EXPECT_FALSE(file.WriteValue("Main", "Key", "1"));
    EXPECT_TRUE(fs::is_directory(folder / "Options.ini"));
}

} // namespace
