#include "KeyDriver.h"

#include "common/HighResolutionTimer.h"
#include "platform/KeyboardHook.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct TKeyCall {
    std::uint32_t Time;
    int ScanCode;
    int VirtualKey;
    bool Down;
};

// A window with a focused line edit and a button, and a receiver that records
// every event and refuses the scan codes listed in Refuse.
class KeyboardHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(Window.get());
        Edit = new QLineEdit;
        Button = new QPushButton("Button");
        layout->addWidget(Edit);
        layout->addWidget(Button);
        Window->show();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
        Edit->setFocus();
        ASSERT_TRUE(InstallKeyboardHook([this](std::uint32_t t, int sc, int vk, bool down) {
            Calls.push_back({t, sc, vk, down});
            for (int refused : Refuse)
                if (refused == sc)
                    return false;
            return true;
        }));
    }
    void TearDown() override
    {
        RemoveKeyboardHook();
        RemoveMouseHook();
        Window.reset();
    }

    QWindow* Handle() const { return Window->windowHandle(); }

    std::unique_ptr<QWidget> Window;
    QLineEdit* Edit = nullptr;
    QPushButton* Button = nullptr;
    std::vector<TKeyCall> Calls;
    std::vector<int> Refuse;
};

TEST_F(KeyboardHookTest, LeftAndRightModifiersArriveWithTheirOwnCodes)
{
    struct TRow {
        int ScanCode;
        int VirtualKey;
    };
    const TRow rows[] = {{42, 160}, {54, 161}, {29, 162}, {-29, 163}, {56, 164}, {-56, 165},
                         {-91, 91}, {-72, 38}, {72, 38},  {59, 112},  {87, 122}};
    TKeyDriver keys(Handle());
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.ScanCode);
        Calls.clear();
        keys.Tap(row.ScanCode);
        ASSERT_EQ(Calls.size(), 2u);
        EXPECT_EQ(Calls[0].ScanCode, row.ScanCode);
        EXPECT_EQ(Calls[0].VirtualKey, row.VirtualKey);
        EXPECT_TRUE(Calls[0].Down);
        EXPECT_EQ(Calls[1].ScanCode, row.ScanCode);
        EXPECT_EQ(Calls[1].VirtualKey, row.VirtualKey);
        EXPECT_FALSE(Calls[1].Down);
    }
}

TEST_F(KeyboardHookTest, KeypadWithNumLockGivesDigitCodes)
{
    TKeyDriver keys(Handle());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_8, Qt::KeypadModifier, ScanCodeToNativeScanCode(72),
                    0, 0, "8");
    press.setTimestamp(1);
    QGuiApplication::sendEvent(Handle(), &press);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].ScanCode, 72);
    EXPECT_EQ(Calls[0].VirtualKey, 104);
}

TEST_F(KeyboardHookTest, HeldKeyGivesStreamOfPressesAndOneRelease)
{
    TKeyDriver keys(Handle());
    keys.Press(30, Qt::Key_A, "a");
    for (int i = 0; i < 3; ++i) {
        keys.RepeatRelease(30, Qt::Key_A);
        keys.Press(30, Qt::Key_A, "a");
    }
    keys.Release(30, Qt::Key_A);
    ASSERT_EQ(Calls.size(), 5u);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Calls[static_cast<std::size_t>(i)].Down);
    EXPECT_FALSE(Calls[4].Down);
    EXPECT_EQ(Edit->text(), "aaaa");
}

TEST_F(KeyboardHookTest, RefusedKeyNeverReachesTheFocusedEdit)
{
    Refuse = {30}; // a
    QTest::keyClick(Handle(), 'a');
    QTest::keyClick(Handle(), 'b');
    QTest::keyClick(Handle(), 'a');
    EXPECT_EQ(Edit->text(), "b");
    // Each key event asked once, though Qt hands it to the window and the edit.
    ASSERT_EQ(Calls.size(), 6u);
    EXPECT_EQ(Calls[0].ScanCode, 30);
    EXPECT_EQ(Calls[2].ScanCode, 48);
}

TEST_F(KeyboardHookTest, RefusedHeldKeyKeepsItsRepeatsAndReleasesFromTheEdit)
{
    Refuse = {30};
    int editReleases = 0;
    struct TCounter : QObject {
        int* Count;
        explicit TCounter(int* count) : Count(count) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyRelease)
                ++*Count;
            return false;
        }
    } counter(&editReleases);
    Edit->installEventFilter(&counter);
    TKeyDriver keys(Handle());
    keys.Press(30, Qt::Key_A, "a");
    keys.RepeatRelease(30, Qt::Key_A);
    keys.Press(30, Qt::Key_A, "a");
    keys.Release(30, Qt::Key_A);
    EXPECT_EQ(Edit->text(), "");
    EXPECT_EQ(editReleases, 0);
    EXPECT_EQ(Calls.size(), 3u);
}

TEST_F(KeyboardHookTest, RefusedKeyTriggersNoShortcut)
{
    int triggered = 0;
    auto* action = new QAction(Window.get());
    action->setShortcut(QKeySequence(Qt::Key_F2));
    Window->addAction(action);
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });

    QTest::keyClick(Handle(), Qt::Key_F2);
    EXPECT_EQ(triggered, 1);
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Calls[0].ScanCode, 60);

    Refuse = {60};
    QTest::keyClick(Handle(), Qt::Key_F2);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(Calls.size(), 4u);
}

TEST_F(KeyboardHookTest, EventsCarryTheMillisecondClock)
{
    THighResolutionTimer clock;
    const std::uint32_t before = clock.Now();
    QTest::keyClick(Handle(), 'x');
    const std::uint32_t after = clock.Now();
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_LE(static_cast<std::uint32_t>(Calls[0].Time - before), after - before);
    EXPECT_LE(static_cast<std::uint32_t>(Calls[1].Time - Calls[0].Time), after - before);
}

TEST_F(KeyboardHookTest, SecondInstallKeepsTheFirstReceiver)
{
    int second = 0;
    EXPECT_TRUE(InstallKeyboardHook([&](std::uint32_t, int, int, bool) { return ++second, true; }));
    QTest::keyClick(Handle(), 'a');
    EXPECT_EQ(second, 0);
    EXPECT_EQ(Calls.size(), 2u);

    EXPECT_TRUE(RemoveKeyboardHook());
    EXPECT_FALSE(IsKeyboardHookInstalled());
    QTest::keyClick(Handle(), 'a');
    EXPECT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Edit->text(), "aa");

    EXPECT_TRUE(InstallKeyboardHook([&](std::uint32_t, int, int, bool) { return ++second, true; }));
    QTest::keyClick(Handle(), 'a');
    EXPECT_EQ(second, 2);
}

TEST_F(KeyboardHookTest, UnassignedReceiverPassesEverything)
{
    RemoveKeyboardHook();
    ASSERT_TRUE(InstallKeyboardHook(TKeyboardReceiver()));
    QTest::keyClick(Handle(), 'o');
    QTest::keyClick(Handle(), 'k');
    EXPECT_EQ(Edit->text(), "ok");
}

TEST_F(KeyboardHookTest, ReceiverMayRemoveTheHookWhileRunning)
{
    RemoveKeyboardHook();
    int calls = 0;
    ASSERT_TRUE(InstallKeyboardHook([&](std::uint32_t, int, int, bool) {
        ++calls;
        RemoveKeyboardHook();
        InstallKeyboardHook([&](std::uint32_t, int, int, bool) { return ++calls, false; });
        return false;
    }));
    QTest::keyClick(Handle(), 'a');
    QTest::keyClick(Handle(), 'b');
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(Edit->text(), "");
}

TEST_F(KeyboardHookTest, ModifierStateFollowsTheKeys)
{
    TKeyDriver keys(Handle());
    EXPECT_FALSE(IsShiftPressed());
    keys.Press(42);
    EXPECT_TRUE(IsShiftPressed());
    keys.Press(54);
    keys.Release(42);
    EXPECT_TRUE(IsShiftPressed()) << "right Shift still held";
    keys.Release(54);
    EXPECT_FALSE(IsShiftPressed());

    keys.Press(-29);
    EXPECT_TRUE(IsCtrlPressed());
    keys.Release(-29);
    EXPECT_FALSE(IsCtrlPressed());
    keys.Press(-56);
    EXPECT_TRUE(IsAltPressed());
    keys.Release(-56);
    EXPECT_FALSE(IsAltPressed());

    const bool caps = IsCapsLockOn();
    keys.Tap(58);
    EXPECT_NE(IsCapsLockOn(), caps);
    keys.Press(58);
    keys.RepeatRelease(58);
    keys.Press(58); // a held Caps Lock toggles once
    keys.Release(58);
    EXPECT_EQ(IsCapsLockOn(), caps);
}

TEST_F(KeyboardHookTest, ModifierReleasedElsewhereIsForgottenAtTheNextKey)
{
    TKeyDriver keys(Handle());
    keys.Press(42);
    ASSERT_TRUE(IsShiftPressed());
    // Shift came up while another program had the keyboard: the next key's
    // own modifier state says so.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, ScanCodeToNativeScanCode(30), 0, 0,
                    "a");
    press.setTimestamp(7);
    QGuiApplication::sendEvent(Handle(), &press);
    EXPECT_FALSE(IsShiftPressed());

    QKeyEvent shifted(QEvent::KeyPress, Qt::Key_B, Qt::ShiftModifier, ScanCodeToNativeScanCode(48),
                      0, 0, "B");
    shifted.setTimestamp(8);
    QGuiApplication::sendEvent(Handle(), &shifted);
    EXPECT_TRUE(IsShiftPressed());
    keys.Tap(42); // the next real Shift release settles it
    EXPECT_FALSE(IsShiftPressed());
}

TEST_F(KeyboardHookTest, MouseHookReportsAndSwallowsButtons)
{
    std::vector<int> messages;
    bool refuse = false;
    ASSERT_TRUE(InstallMouseHook([&](int message, const TMouseData&) {
        if (message != MouseMessage::Move)
            messages.push_back(message);
        return !refuse;
    }));
    int clicks = 0;
    QObject::connect(Button, &QPushButton::clicked, [&] { ++clicks; });
    const QPoint center = Button->mapTo(Window.get(), Button->rect().center());

    QTest::mouseClick(Handle(), Qt::LeftButton, {}, center);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(messages, (std::vector<int>{MouseMessage::LButtonDown, MouseMessage::LButtonUp}));

    refuse = true;
    messages.clear();
    QTest::mouseClick(Handle(), Qt::RightButton, {}, center);
    QTest::mouseClick(Handle(), Qt::LeftButton, {}, center);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(messages, (std::vector<int>{MouseMessage::RButtonDown, MouseMessage::RButtonUp,
                                          MouseMessage::LButtonDown, MouseMessage::LButtonUp}));
    EXPECT_TRUE(RemoveMouseHook());
    EXPECT_FALSE(IsMouseHookInstalled());
    QTest::mouseClick(Handle(), Qt::LeftButton, {}, center);
    EXPECT_EQ(clicks, 2);
}

} // namespace
