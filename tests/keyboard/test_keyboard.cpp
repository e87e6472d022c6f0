#include "KeyDriver.h"

#include "keyboard/KXKeyboard.h"
#include "platform/KeyboardHook.h"

#include <QApplication>
#include <QLineEdit>
#include <QPaintEvent>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace {

// Records the regions the keyboard is asked to paint.
class TSpyKeyboard : public TKXKeyboard {
public:
    using TKXKeyboard::TKXKeyboard;
    std::vector<QRegion> Painted;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        Painted.push_back(event->region());
        TKXKeyboard::paintEvent(event);
    }
};

struct TKeyEvent {
    int ScanCode;
    int VirtualKey;
    int Character;
    bool Down;
};

// A window with the keyboard above a focused line edit; the keyboard is
// enabled and shown, OnKey records and answers with Pass.
class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(Window.get());
        Keyboard = new TSpyKeyboard(Window.get());
        Keyboard->setObjectName("Keyboard");
        Edit = new QLineEdit;
        layout->addWidget(Keyboard);
        layout->addWidget(Edit);
        Keyboard->Enabled = true;
        Keyboard->show();
        Keyboard->OnKey = [this](std::uint32_t, int sc, int vk, std::uint8_t ch, bool down) {
            Events.push_back({sc, vk, ch, down});
            return Pass;
        };
        Window->show();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
        Edit->setFocus();
        Keys = std::make_unique<TKeyDriver>(Window->windowHandle());
        SetCapsLock(false);
        Settle();
    }
    void TearDown() override
    {
        Keys.reset();
        Window.reset();
    }

    // Lets pending repaints happen and forgets them.
    void Settle()
    {
        QApplication::processEvents();
        Keyboard->Painted.clear();
        Events.clear();
    }
    void SetCapsLock(bool on)
    {
        if (IsCapsLockOn() != on)
            Keys->Tap(58);
        ASSERT_EQ(IsCapsLockOn(), on);
    }
    const TKXKeyboardButton& Key(int scanCode) const { return *Keyboard->FindButton(scanCode); }
    QRegion PaintedRegion() const
    {
        QRegion all;
        for (const QRegion& r : Keyboard->Painted)
            all += r;
        return all;
    }
    QImage Picture() const { return Keyboard->grab().toImage(); }

    std::unique_ptr<QWidget> Window;
    TSpyKeyboard* Keyboard = nullptr;
    QLineEdit* Edit = nullptr;
    std::unique_ptr<TKeyDriver> Keys;
    std::vector<TKeyEvent> Events;
    bool Pass = true;
};

TEST_F(KeyboardTest, CapsLockAndShiftOnLetterAndSignKeys)
{
    struct TRow {
        bool Caps;
        bool Shift;
        int ScanCode;
        int Character;
    };
    const TRow rows[] = {
        {false, false, 30, 'a'}, {false, true, 30, 'A'}, {true, false, 30, 'A'},
        {true, true, 30, 'a'},   {false, false, 2, '1'}, {false, true, 2, '!'},
        {true, false, 2, '1'},   {true, true, 2, '!'},   {true, false, 57, ' '},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(std::string("caps ") + (row.Caps ? "on" : "off") + ", shift " +
                     (row.Shift ? "held" : "up") + ", key " + std::to_string(row.ScanCode));
        SetCapsLock(row.Caps);
        if (row.Shift)
            Keys->Press(54);
        Events.clear();
        Keys->Press(row.ScanCode);
        // The key shows the character it types.
        EXPECT_TRUE(Key(row.ScanCode).DrawnPressed);
        if (Key(row.ScanCode).Caption.empty()) {
            EXPECT_EQ(Key(row.ScanCode).GetText(), std::string(1, char(row.Character)));
        }
        Keys->Release(row.ScanCode);
        if (row.Shift)
            Keys->Release(54);
        ASSERT_GE(Events.size(), 2u);
        EXPECT_EQ(Events[0].ScanCode, row.ScanCode);
        EXPECT_EQ(Events[0].Character, row.Character);
        EXPECT_TRUE(Events[0].Down);
        EXPECT_EQ(Events[1].Character, row.Character);
        EXPECT_FALSE(Events[1].Down);
    }
    SetCapsLock(false);
}

TEST_F(KeyboardTest, ShiftShowsShiftedCaptionsOnEveryKey)
{
    Keys->Press(42);
    EXPECT_EQ(Key(30).GetText(), "A");
    EXPECT_EQ(Key(2).GetText(), "!");
    EXPECT_EQ(Key(40).GetText(), "\"");
    Keys->Release(42);
    EXPECT_EQ(Key(30).GetText(), "a");
    SetCapsLock(true);
    EXPECT_EQ(Key(30).GetText(), "A");
    EXPECT_EQ(Key(2).GetText(), "1");
    SetCapsLock(false);
}

TEST_F(KeyboardTest, KeysWithoutCharacterReachOnKeyWithZero)
{
    struct TRow {
        int ScanCode;
        int VirtualKey;
    };
    for (const TRow& row : {TRow{42, 160}, TRow{-29, 163}, TRow{15, 9}, TRow{28, 13}, TRow{59, 112},
                            TRow{-72, 38}, TRow{1, 27}, TRow{-91, 91}}) {
        SCOPED_TRACE(row.ScanCode);
        Events.clear();
        Keys->Tap(row.ScanCode);
        ASSERT_EQ(Events.size(), 2u);
        EXPECT_EQ(Events[0].ScanCode, row.ScanCode);
        EXPECT_EQ(Events[0].VirtualKey, row.VirtualKey);
        EXPECT_EQ(Events[0].Character, 0);
        EXPECT_TRUE(Events[0].Down);
        EXPECT_FALSE(Events[1].Down);
    }
}

TEST_F(KeyboardTest, OnKeyAnswerDecidesWhetherTheEditGetsTheKey)
{
    Pass = false;
    QTest::keyClick(Window->windowHandle(), 'q');
    EXPECT_EQ(Edit->text(), "");
    ASSERT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[0].Character, 'q');
    Pass = true;
    QTest::keyClick(Window->windowHandle(), 'w');
    EXPECT_EQ(Edit->text(), "w");
}

TEST_F(KeyboardTest, UnassignedOnKeyPassesEverything)
{
    Keyboard->OnKey = nullptr;
    Keys->Press(30, Qt::Key_A, "a");
    EXPECT_TRUE(Key(30).Pressed);
    Keys->Release(30, Qt::Key_A);
    QTest::keyClick(Window->windowHandle(), 'b');
    EXPECT_EQ(Edit->text(), "ab");
}

TEST_F(KeyboardTest, DisabledKeyboardLetsKeysPassUntouched)
{
    Pass = false;
    Keys->Press(30, Qt::Key_A, "a");
    Keyboard->Enabled = false;
    Keys->Release(30, Qt::Key_A);
    Keys->Tap(31, Qt::Key_S, "s");
    EXPECT_EQ(Events.size(), 1u);
    EXPECT_EQ(Edit->text(), "s");
    EXPECT_FALSE(Key(31).Pressed);
    // Released while disabled: stays drawn pressed until its next event.
    EXPECT_TRUE(Key(30).Pressed);
    Keyboard->Enabled = true;
    Keys->Tap(30, Qt::Key_A, "a");
    EXPECT_FALSE(Key(30).Pressed);
}

TEST_F(KeyboardTest, HiddenKeyboardStillRelaysAndPaintsNothing)
{
    Keyboard->hide();
    Settle();
    Keys->Press(32);
    EXPECT_TRUE(Key(32).Pressed);
    ASSERT_EQ(Events.size(), 1u);
    EXPECT_EQ(Events[0].Character, 'd');
    QApplication::processEvents();
    EXPECT_TRUE(Keyboard->Painted.empty());

    // Shown again, it is painted with the key held.
    Keyboard->show();
    const QImage picture = Picture();
    const QRect key = Key(32).Rect();
    EXPECT_EQ(picture.pixel(key.left() + 4, key.center().y()),
              QColor(0xDF, 0xF3, 0xDF).rgb()); // zone 3 pressed
    Keys->Release(32);
}

TEST_F(KeyboardTest, KeyEventRepaintsOnlyThatKey)
{
    // Ctrl and Alt change no key's look: they repaint only themselves.
    for (int scanCode : {30, 57, -56, 14, 29}) {
        SCOPED_TRACE(scanCode);
        Keys->Press(scanCode);
        QApplication::processEvents();
        EXPECT_EQ(PaintedRegion(), QRegion(Key(scanCode).Rect()));
        Settle();
        Keys->Release(scanCode);
        QApplication::processEvents();
        EXPECT_EQ(PaintedRegion(), QRegion(Key(scanCode).Rect()));
        Settle();
    }
    // A held key repeating changes nothing: nothing is repainted.
    Keys->Press(30);
    Settle();
    Keys->RepeatRelease(30);
    Keys->Press(30);
    QApplication::processEvents();
    EXPECT_TRUE(Keyboard->Painted.empty());
    Keys->Release(30);
}

TEST_F(KeyboardTest, ShiftRepaintsTheKeysButNotTheFrame)
{
    Keys->Press(42);
    QApplication::processEvents();
    QRegion keys;
    for (const auto& key : Keyboard->Buttons())
        keys += key->Rect();
    EXPECT_EQ(PaintedRegion(), keys);
    Keys->Release(42);

    // A key out of its row's band still gets exactly its rectangle repainted.
    Keyboard->FindButton(30)->Top += 3;
    Keyboard->update();
    Settle();
    Keys->Press(42);
    QApplication::processEvents();
    QRegion moved;
    for (const auto& key : Keyboard->Buttons())
        moved += key->Rect();
    EXPECT_EQ(PaintedRegion(), moved);
    Keys->Release(42);
}

// The bounding box of the text pixels inside a key.
QRect TextBox(const QImage& picture, const QRect& key)
{
    QRect box;
    for (int y = key.top() + 3; y <= key.bottom() - 3; ++y)
        for (int x = key.left() + 3; x <= key.right() - 3; ++x)
            if (qGray(picture.pixel(x, y)) < 140)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(KeyboardTest, PressedKeyIsLighterWithItsTextOnePixelDownRight)
{
    const QRect g = Key(34).Rect(); // zone 4
    const QRect f = Key(33).Rect(); // zone 4, home key
    const QImage before = Picture();
    EXPECT_EQ(before.pixel(g.left() + 4, g.center().y()), QColor(0xAF, 0xE2, 0xE2).rgb());
    // The home marker's white corner.
    EXPECT_EQ(before.pixel(f.left() + 10, f.top() + 10), QColor(Qt::white).rgb());
    const QRect textBefore = TextBox(before, g);
    ASSERT_FALSE(textBefore.isEmpty());

    Keys->Press(34);
    Keys->Press(33);
    const QImage after = Picture();
    EXPECT_EQ(after.pixel(g.left() + 4, g.center().y()), QColor(0xDF, 0xF3, 0xF3).rgb());
    EXPECT_EQ(after.pixel(f.left() + 10, f.top() + 10), QColor(0xDF, 0xF3, 0xF3).rgb());
    EXPECT_EQ(TextBox(after, g), textBefore.translated(1, 1));
    Keys->Release(34);
    Keys->Release(33);
}

TEST_F(KeyboardTest, CharactersAreDrawnInTheLanguagesCodePage)
{
    // The same byte is a different letter in 1251 (Cyrillic) and 1252 (Latin).
    Keyboard->FindButton(30)->Value = 0xE4; // д in 1251, ä in 1252
    Keyboard->SetCharset(204);
    const QImage cyrillic = Picture();
    Keyboard->SetCharset(0);
    const QImage latin = Picture();
    const QRect a = Key(30).Rect();
    EXPECT_NE(cyrillic.copy(a), latin.copy(a));
}

// An options store in memory, read and written like the INI store.
struct TMemoryOptions {
    std::map<std::string, std::string> Values;

    std::string Path(const std::string& section, const std::string& key) const
    {
        return section + "/" + key;
    }
    bool ReadBool(const std::string& section, const std::string& key, bool def)
    {
        auto it = Values.find(Path(section, key));
        return it == Values.end() ? def : it->second != "0";
    }
    TColor ReadColor(const std::string& section, const std::string& key, TColor def)
    {
        auto it = Values.find(Path(section, key));
        return it == Values.end() ? def : static_cast<TColor>(std::stoul(it->second, nullptr, 16));
    }
    void WriteBool(const std::string& section, const std::string& key, bool value)
    {
        Values[Path(section, key)] = value ? "1" : "0";
    }
    void WriteColor(const std::string& section, const std::string& key, TColor value)
    {
        char text[16];
        std::snprintf(text, sizeof text, "%06X", value);
        Values[Path(section, key)] = text;
    }
};

TEST_F(KeyboardTest, RemembersVisibilityAndFrameColours)
{
    TMemoryOptions options;
    Keyboard->LoadState(options, "SessionForm");
    EXPECT_FALSE(Keyboard->isHidden());
    EXPECT_EQ(Keyboard->BorderColor, 0x808080u);

    options.Values["SessionForm/Keyboard.Visible"] = "0";
    options.Values["SessionForm/Keyboard.BorderColor"] = "112233";
    options.Values["SessionForm/Keyboard.BackgroundColor"] = "F0F0F0";
    EXPECT_TRUE(Keyboard->LoadState(options, "SessionForm"));
    EXPECT_TRUE(Keyboard->isHidden());
    EXPECT_EQ(Keyboard->BorderColor, 0x112233u);
    EXPECT_EQ(Keyboard->BackgroundColor, 0xF0F0F0u);

    // Saved while the whole window is hidden: the keyboard's own flag counts.
    Keyboard->show();
    Window->hide();
    Keyboard->BackgroundColor = 0x00FF00;
    TMemoryOptions saved;
    EXPECT_TRUE(Keyboard->SaveState(saved, "SessionForm"));
    EXPECT_EQ(saved.Values, (std::map<std::string, std::string>{
                                {"SessionForm/Keyboard.Visible", "1"},
                                {"SessionForm/Keyboard.BorderColor", "112233"},
                                {"SessionForm/Keyboard.BackgroundColor", "00FF00"}}));
}

} // namespace
