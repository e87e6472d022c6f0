#include "persistence/Users.h"
#include "persistence/User.h"

#include "TempFolder.h"
#include "common/Random.h"
#include "platform/Folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

using TNames = std::vector<std::string>;

TEST(Users, ListsSubFoldersOnlySortedWithoutDotEntries)
{
    TTempFolder folder;
    TUsers users({folder / "Users"});
    EXPECT_EQ(users.GetFolder(), folder / "Users");
    EXPECT_TRUE(users.GetNames().empty());

    for (const char* name : {"bob", "Ann", ".hidden", "..odd", "Carl"})
        fs::create_directory(folder.Path() / "Users" / name);
    WriteBytes(folder.Path() / "Users" / "notes.txt", "x");
    WriteBytes(folder.Path() / "Users" / ".profile", "x");
    users.Refresh();
    EXPECT_EQ(users.GetNames(), (TNames{"Ann", "bob", "Carl"}));
}

TEST(Users, ProbeDrawsFromTheSharedSourceAndLeavesNothingBehind)
{
    TTempFolder folder;
    SharedRandom().Seed(1234);
    TRandom expected(1234);
    const int probe = expected.Next();
    fs::create_directories(folder.Path() / "Users");
    // A folder of the first probe's name exists: it is not ours, so another
    // name is drawn and the existing folder stays.
    fs::create_directory(folder.Path() / "Users" / ("~" + std::to_string(probe) + "~"));
    TUsers users({folder / "Users"});
    expected.Next();
    EXPECT_EQ(SharedRandom().GetState(), expected.GetState());
    EXPECT_EQ(
        std::distance(fs::directory_iterator(folder.Path() / "Users"), fs::directory_iterator()),
        1);
}

TEST(Users, FallsBackWhenTheProgramFolderCannotHoldUsers)
{
    TTempFolder folder;
    // A file where the program's folder would be: nothing can be made there,
    // not even by root.
    WriteBytes(folder.Path() / "program", "not a folder");
    TUsers users({folder / "program/Users", folder / "data/Kexora/Users"});
    EXPECT_EQ(users.GetFolder(), folder / "data/Kexora/Users");
    EXPECT_TRUE(fs::is_directory(folder.Path() / "data/Kexora/Users"));
}

TEST(Users, NoUsableFolderIsAnError)
{
    TTempFolder folder;
    WriteBytes(folder.Path() / "file", "x");
    try {
        TUsers users({folder / "file/Users", folder / "file/Other"});
        FAIL() << "expected an error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "629EC837");
    }
}

TEST(Users, DefaultCandidatesAreProgramFolderThenUserData)
{
    const TNames candidates = TUsers::DefaultCandidates();
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], (fs::path(ProgramFolder()) / "Users").string());
    EXPECT_EQ(candidates[1], (fs::path(UserDataFolder()) / "Kexora" / "Users").string());
}

class UserTest : public testing::Test {
protected:
    TTempFolder Folder;
    TUsers Users{{Folder / "Users"}};
};

TEST_F(UserTest, NameIsTrimmedAndFolderCreated)
{
    TUser user("  Student ", Users);
    EXPECT_EQ(user.GetName(), "Student");
    EXPECT_EQ(user.GetFolder(), Folder / "Users/Student");
    EXPECT_TRUE(fs::is_directory(user.GetFolder()));
    EXPECT_EQ(Users.GetNames(), (TNames{"Student"}));
    EXPECT_EQ(user.Options().GetFileName(), Folder / "Users/Student/Profile.ini");
    EXPECT_FALSE(fs::exists(user.Options().GetFileName())) << "created by the first value";
    user.Options().ReadInteger("StartForm", "Level", 1);
    EXPECT_TRUE(fs::exists(user.Options().GetFileName()));
}

TEST_F(UserTest, EmptyOrBlankNameIsTheGuardError)
{
    for (const char* name : {"", "   ", " \t "}) {
        try {
            TUser user(name, Users);
            ADD_FAILURE() << "accepted '" << name << "'";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "FB1904EA");
        }
    }
}

TEST_F(UserTest, NamesThatAreNotPlainFolderNamesAreRejected)
{
    for (const char* name : {"a/b", "../evil", "/etc", "a\\b", ".", " .. ", ".hidden", "tab\there",
                             "be\all", "del\x7F"}) {
        try {
            TUser user(name, Users);
            ADD_FAILURE() << "accepted '" << name << "'";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find("cannot be used"), std::string::npos);
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder.Path()), fs::directory_iterator()), 1)
        << "nothing made beside the users folder";
    EXPECT_TRUE(Users.GetNames().empty());
}

TEST_F(UserTest, OtherNamesAreFolderNames)
{
    for (const char* name : {"Ann-Marie", "dots..", "Иван", "a.b", "x y"})
        EXPECT_NO_THROW(TUser(name, Users)) << name;
    EXPECT_EQ(Users.GetNames().size(), 5u);
}

TEST_F(UserTest, LanguageIsTrimmedOnRead)
{
    TUser user("Student", Users);
    EXPECT_EQ(user.GetLanguage(), "");
    user.SetLanguage(" English");
    EXPECT_EQ(user.GetLanguage(), "English");
    const TStatisticUser& asStatisticUser = user;
    EXPECT_EQ(asStatisticUser.GetFolder(), Folder / "Users/Student");
}

TEST_F(UserTest, OpeningAnExistingProfileLeavesItsFilesAlone)
{
    fs::create_directories(Folder.Path() / "Users/Student/English/Statistic");
    WriteBytes(Folder.Path() / "Users/Student/Profile.ini", "[StartForm]\r\nLevel=3\r\n");
    {
        TUser user("Student", Users);
        EXPECT_EQ(user.Options().ReadInteger("StartForm", "Level", 1), 3);
    }
    EXPECT_EQ(ReadBytes(Folder.Path() / "Users/Student/Profile.ini"), "[StartForm]\r\nLevel=3\r\n");
    EXPECT_TRUE(fs::is_directory(Folder.Path() / "Users/Student/English/Statistic"));
}

} // namespace
