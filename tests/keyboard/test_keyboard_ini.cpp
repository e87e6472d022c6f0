#include "keyboard/KXKeyboard.h"
#include "persistence/IniOptions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The keyboard's remembered settings in a user's profile file.
TEST(KeyboardSettings, RoundTripThroughTheProfile)
{
    QTemporaryDir folder;
    const std::string path = folder.filePath("Profile.ini").toStdString();
    {
        TIniOptions options(path, true);
        TKXKeyboard keyboard;
        keyboard.setObjectName("Keyboard");
        keyboard.show();
        keyboard.BorderColor = 0x123456;
        ASSERT_TRUE(keyboard.SaveState(options, "SessionForm"));
    }
    const std::string text = ReadAll(path);
    EXPECT_NE(text.find("[SessionForm]"), std::string::npos) << text;
    EXPECT_NE(text.find("Keyboard.Visible=1"), std::string::npos) << text;
    EXPECT_NE(text.find("Keyboard.BorderColor=$123456"), std::string::npos) << text;
    EXPECT_NE(text.find("Keyboard.BackgroundColor=$FFFFFF"), std::string::npos) << text;

    TIniOptions options(path, true);
    TKXKeyboard keyboard;
    keyboard.setObjectName("Keyboard");
    ASSERT_TRUE(keyboard.isHidden());
    ASSERT_TRUE(keyboard.LoadState(options, "SessionForm"));
    EXPECT_FALSE(keyboard.isHidden());
    EXPECT_EQ(keyboard.BorderColor, 0x123456u);
    EXPECT_EQ(keyboard.BackgroundColor, 0xFFFFFFu);
}

} // namespace
