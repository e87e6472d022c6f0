#include "persistence/LoginForm.h"

#include "MessageCapture.h"
#include "TempFolder.h"
#include "persistence/User.h"
#include "persistence/Users.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class LoginFormTest : public testing::Test {
protected:
    void SetUp() override { TMultilangForm::ClearLanguageFile(); }

    std::unique_ptr<TLoginForm> MakeForm()
    {
        auto form = std::make_unique<TLoginForm>(
            std::make_unique<TUsers>(std::vector<std::string>{Folder / "Users"}));
        List = form->findChild<QListWidget*>("lvUserList");
        Edit = form->findChild<QLineEdit*>("edNewUserName");
        Add = form->findChild<QPushButton*>("btAddNewUser");
        return form;
    }

    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < List->count(); ++i)
            names << List->item(i)->text();
        return names;
    }

    TTempFolder Folder;
    QListWidget* List = nullptr;
    QLineEdit* Edit = nullptr;
    QPushButton* Add = nullptr;
};

TEST_F(LoginFormTest, ShowsTheUsersOnShow)
{
    fs::create_directories(Folder.Path() / "Users/Ann");
    auto form = MakeForm();
    ASSERT_TRUE(List && Edit && Add);
    EXPECT_EQ(form->windowTitle(), "Kexora Login [test mode]");
    EXPECT_EQ(form->size(), QSize(261, 252));
    EXPECT_FALSE(Add->isEnabled());
    fs::create_directories(Folder.Path() / "Users/Bob");
    form->show();
    EXPECT_EQ(Names(), QStringList({"Ann", "Bob"}));
    EXPECT_FALSE(List->item(0)->icon().isNull());
}

TEST_F(LoginFormTest, AddingAUserListsItWithoutChoosingIt)
{
    auto form = MakeForm();
    form->show();
    EXPECT_TRUE(Names().isEmpty());
    TMessageCapture messages;
    QTest::keyClicks(Edit, "  Student ");
    EXPECT_TRUE(Add->isEnabled());
    QTest::mouseClick(Add, Qt::LeftButton);
    EXPECT_EQ(messages.Texts, std::vector<std::string>{"Создан новый пользователь."});
    EXPECT_EQ(Names(), QStringList({"Student"}));
    EXPECT_TRUE(fs::is_directory(Folder.Path() / "Users/Student"));
    EXPECT_EQ(form->GetUser(), nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Edit->text(), "  Student ") << "the edit keeps its text";

    // The same name again changes nothing but says the same.
    QTest::mouseClick(Add, Qt::LeftButton);
    EXPECT_EQ(messages.Texts.size(), 2u);
    EXPECT_EQ(Names(), QStringList({"Student"}));
}

TEST_F(LoginFormTest, BlanksOnlyEnableTheButtonButAddNothing)
{
    auto form = MakeForm();
    form->show();
    TMessageCapture messages;
    QTest::keyClicks(Edit, "   ");
    EXPECT_TRUE(Add->isEnabled());
    QTest::mouseClick(Add, Qt::LeftButton);
    EXPECT_TRUE(messages.Texts.empty());
    EXPECT_TRUE(Names().isEmpty());
    Edit->clear();
    EXPECT_FALSE(Add->isEnabled());
}

TEST_F(LoginFormTest, UnsafeNameIsRefusedWithAReason)
{
    auto form = MakeForm();
    form->show();
    TMessageCapture messages;
    QTest::keyClicks(Edit, "../../outside");
    QTest::mouseClick(Add, Qt::LeftButton);
    ASSERT_EQ(messages.Texts.size(), 1u);
    EXPECT_NE(messages.Texts[0].find("cannot be used"), std::string::npos);
    EXPECT_FALSE(fs::exists(Folder.Path() / "outside"));
    EXPECT_TRUE(Names().isEmpty());
}

TEST_F(LoginFormTest, SelectingAUserClosesTheWindowWithThatProfile)
{
    fs::create_directories(Folder.Path() / "Users/Ann");
    fs::create_directories(Folder.Path() / "Users/Bob");
    auto form = MakeForm();
    form->show();
    ASSERT_EQ(Names(), QStringList({"Ann", "Bob"}));
    const QRect bob = List->visualItemRect(List->item(1));
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, bob.center());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    const std::unique_ptr<TUser> user = form->TakeUser();
    ASSERT_TRUE(user);
    EXPECT_EQ(user->GetName(), "Bob");
    EXPECT_EQ(user->GetFolder(), Folder / "Users/Bob");
}

TEST_F(LoginFormTest, LoginWithANameOpensItWithoutTheWindow)
{
    auto form = MakeForm();
    const std::unique_ptr<TUser> user = form->Login("  New User ");
    ASSERT_TRUE(user);
    EXPECT_EQ(user->GetName(), "New User");
    EXPECT_TRUE(fs::is_directory(Folder.Path() / "Users/New User"));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(LoginFormTest, LoginWithoutANameLetsTheUserChoose)
{
    fs::create_directories(Folder.Path() / "Users/Ann");
    auto form = MakeForm();
    QTimer::singleShot(0, form.get(), [this] { List->item(0)->setSelected(true); });
    std::unique_ptr<TUser> user = form->Login("   ");
    ASSERT_TRUE(user);
    EXPECT_EQ(user->GetName(), "Ann");

    // A remembered name that is not a plain folder name is not opened either.
    QTimer::singleShot(0, form.get(), [&form] { form->reject(); });
    EXPECT_EQ(form->Login("../Ann"), nullptr);
    EXPECT_FALSE(fs::exists(Folder.Path() / "Ann"));
}

} // namespace
