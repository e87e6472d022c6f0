#include "platform/KeyboardHook.h"

#include "common/HighResolutionTimer.h"
#include "platform/KeyCodes.h"
#include "platform/X11KeyState.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWheelEvent>

#include <array>

// The source is one application-wide event filter. Qt hands a key event to
// the filter several times: a ShortcutOverride for the focus object before a
// press, the event for the window, then the same event object for the focus
// widget and each parent it propagates to (with another ShortcutOverride
// when the press was not spontaneous). The receiver is asked once, at the
// first of these stages; the later stages of the same event get the same
// answer, so a refused key is kept from shortcuts, the window and the widgets
// alike.

namespace {

THighResolutionTimer Clock;

// One modifier, with the keys known to hold it down.
struct TModifier {
    bool Left = false;
    bool Right = false;
    bool Elsewhere = false; // held, but pressed while another program had the keyboard

    bool Held() const { return Left || Right || Elsewhere; }
    // Brings the flags in line with the platform's word on the modifier.
    void Resync(bool held)
    {
        if (!held)
            Left = Right = Elsewhere = false;
        else if (!Held())
            Elsewhere = true;
    }
    void Set(bool right, bool down)
    {
        (right ? Right : Left) = down;
        Elsewhere = false;
    }
};

struct TKeyState {
    TModifier Shift, Ctrl, Alt;
    bool CapsLock = false;

    // Asks the X server for the live state. Elsewhere Qt's answer is only
    // what it gathered from the events it delivered, which the event stream
    // gives already.
    void ResyncFromPlatform()
    {
        if (!IsX11Platform())
            return;
        const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
        Shift.Resync(mods & Qt::ShiftModifier);
        Ctrl.Resync(mods & Qt::ControlModifier);
        Alt.Resync(mods & (Qt::AltModifier | Qt::GroupSwitchModifier));
        bool on = false;
        if (QueryX11CapsLock(on))
            CapsLock = on;
    }
};
TKeyState KeyState;

// X's modifier bits, as they come with every key event (the state before it).
constexpr quint32 XShiftMask = 0x01, XLockMask = 0x02, XControlMask = 0x04;
constexpr quint32 XMod1Mask = 0x08, XLevel3Mask = 0x80;

bool IsModifierKey(int scanCode)
{
    switch (scanCode) {
    case 42:
    case 54:
    case 29:
    case -29:
    case 56:
    case -56:
    case 58:
        return true;
    default:
        return false;
    }
}

// Identity of one key event across its stages.
struct TStage {
    const QKeyEvent* Event = nullptr;
    bool Valid = false;
    bool Down = false;
    bool FromOverride = false;
    bool Swallow = false;
    quint32 Native = 0;
    int Key = 0;
    quint64 Timestamp = 0;
    bool AutoRepeat = false;

    // Qt's own ShortcutOverride for a press forwarded to a widget carries no
    // native code.
    bool Matches(const QKeyEvent* e, bool down, bool isOverride) const
    {
        const bool sameNative = Native == e->nativeScanCode() ||
                                (isOverride && e->nativeScanCode() == 0) ||
                                (FromOverride && Native == 0);
        return Valid && Down == down && sameNative && Key == e->key() &&
               Timestamp == e->timestamp() && AutoRepeat == e->isAutoRepeat();
    }
};

class TInputFilter final : public QObject {
public:
    bool KeyboardInstalled = false;
    bool MouseInstalled = false;
    TKeyboardReceiver KeyboardReceiver;
    TMouseReceiver MouseReceiver;

    void Attach()
    {
        if (!Attached) {
            qGuiApp->installEventFilter(this);
            Attached = true;
        }
    }
    void DetachIfIdle()
    {
        if (Attached && !KeyboardInstalled && !MouseInstalled) {
            if (qGuiApp)
                qGuiApp->removeEventFilter(this);
            Attached = false;
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            return KeyboardInstalled && FilterKey(static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            // Widgets get copies of the window's mouse events: ask once, at the window.
            return MouseInstalled && watched->isWindowType() && FilterMouse(event);
        case QEvent::ApplicationActivate:
            if (KeyboardInstalled)
                KeyState.ResyncFromPlatform();
            return false;
        default:
            return false;
        }
    }

private:
    bool Attached = false;
    TStage Last;
    std::array<bool, 256> Refused{}; // last press of each scan code was swallowed

    static bool& RefusedSlot(std::array<bool, 256>& refused, int scanCode)
    {
        return refused[static_cast<std::size_t>((scanCode + 256) % 256)];
    }

    bool FilterKey(QKeyEvent* e)
    {
        const bool isOverride = e->type() == QEvent::ShortcutOverride;
        const bool down = isOverride || e->type() == QEvent::KeyPress;
        if (Last.Matches(e, down, isOverride)) {
            bool same = false;
            if (isOverride)
                same = true; // a press forwarded to a widget is overridden there again
            else if (Last.FromOverride) {
                same = true; // the press whose override was answered
                Last.FromOverride = false;
                Last.Event = e;
                Last.Native = e->nativeScanCode();
            } else
                same = Last.Event == e; // a later stage of the same event
            if (same)
                return Answer(e, Last.Swallow);
        }

        const bool swallow = Deliver(e, down);
        Last.Event = e;
        Last.Valid = true;
        Last.Down = down;
        Last.FromOverride = isOverride;
        Last.Swallow = swallow;
        Last.Native = e->nativeScanCode();
        Last.Key = e->key();
        Last.Timestamp = e->timestamp();
        Last.AutoRepeat = e->isAutoRepeat();
        return Answer(e, swallow);
    }

    static bool Answer(QKeyEvent* e, bool swallow)
    {
        if (swallow)
            e->accept(); // nothing else, the platform included, acts on it
        return swallow;
    }

    // Asks the receiver; returns whether the event is swallowed.
    bool Deliver(const QKeyEvent* e, bool down)
    {
        const bool keypad = e->modifiers() & Qt::KeypadModifier;
        int scanCode = e->nativeScanCode() ? NativeScanCodeToScanCode(e->nativeScanCode())
                                           : QtKeyToScanCode(e->key(), keypad);

        // The platform sends a release before each automatic repeat: the
        // receiver sees a stream of presses and the one final release.
        if (!down && e->isAutoRepeat())
            return RefusedSlot(Refused, scanCode);

        UpdateKeyState(e, scanCode, down);
        const std::uint32_t time = Clock.Now();
        const bool numLock = keypad && ((e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9) ||
                                        e->key() == Qt::Key_Period || e->key() == Qt::Key_Comma);
        const int virtualKey = ScanCodeToVirtualKey(scanCode, numLock);

        // A copy: the receiver may install or remove hooks while it runs.
        const TKeyboardReceiver receiver = KeyboardReceiver;
        const bool pass = receiver ? receiver(time, scanCode, virtualKey, down) : true;
        if (down)
            RefusedSlot(Refused, scanCode) = !pass;
        return !pass;
    }

    static void UpdateKeyState(const QKeyEvent* e, int scanCode, bool down)
    {
        TKeyState& s = KeyState;
        if (e->nativeScanCode() && IsX11Platform()) {
            // X's state before this event: exact even with later events queued.
            const quint32 state = e->nativeModifiers();
            s.Shift.Resync(state & XShiftMask);
            s.Ctrl.Resync(state & XControlMask);
            s.Alt.Resync(state & (XMod1Mask | XLevel3Mask));
            if (scanCode != 58)
                s.CapsLock = state & XLockMask;
        } else if (!IsModifierKey(scanCode)) {
            // Qt's modifiers; for modifier keys some platforms count the
            // event itself, so only other keys are trusted.
            const Qt::KeyboardModifiers mods = e->modifiers();
            s.Shift.Resync(mods & Qt::ShiftModifier);
            s.Ctrl.Resync(mods & Qt::ControlModifier);
            if (mods & (Qt::AltModifier | Qt::GroupSwitchModifier))
                s.Alt.Resync(true);
            else
                s.Alt.Left = s.Alt.Elsewhere = false; // right Alt may be AltGr, not Alt
        }

        switch (scanCode) {
        case 42:
            s.Shift.Set(false, down);
            break;
        case 54:
            s.Shift.Set(true, down);
            break;
        case 29:
            s.Ctrl.Set(false, down);
            break;
        case -29:
            s.Ctrl.Set(true, down);
            break;
        case 56:
            s.Alt.Set(false, down);
            break;
        case -56:
            s.Alt.Set(true, down);
            break;
        case 58:
            if (!e->isAutoRepeat()) {
                bool on = false;
                if (QueryX11CapsLock(on))
                    s.CapsLock = on;
                else if (down)
                    s.CapsLock = !s.CapsLock;
            }
            break;
        default:
            break;
        }
    }

    bool FilterMouse(QEvent* event)
    {
        int message = 0;
        TMouseData data;
        if (event->type() == QEvent::Wheel) {
            const auto* w = static_cast<QWheelEvent*>(event);
            message = MouseMessage::Wheel;
            data.X = qRound(w->globalPosition().x());
            data.Y = qRound(w->globalPosition().y());
        } else {
            const auto* m = static_cast<QMouseEvent*>(event);
            data.X = qRound(m->globalPosition().x());
            data.Y = qRound(m->globalPosition().y());
            int first = 0; // message of the button's press
            switch (m->button()) {
            case Qt::LeftButton:
                first = MouseMessage::LButtonDown;
                break;
            case Qt::RightButton:
                first = MouseMessage::RButtonDown;
                break;
            case Qt::MiddleButton:
                first = MouseMessage::MButtonDown;
                break;
            default:
                break;
            }
            if (event->type() == QEvent::MouseMove)
                message = MouseMessage::Move;
            else if (first == 0)
                return false; // extra buttons have no message
            else if (event->type() == QEvent::MouseButtonPress)
                message = first;
            else if (event->type() == QEvent::MouseButtonRelease)
                message = first + 1;
            else
                message = first + 2;
        }
        const TMouseReceiver receiver = MouseReceiver;
        if (!receiver || receiver(message, data))
            return false;
        event->accept();
        return true;
    }
};

TInputFilter* Filter()
{
    // Lives as long as the program: a receiver may remove the hook while the
    // filter is running.
    static auto* filter = new TInputFilter;
    return filter;
}

} // namespace

bool InstallKeyboardHook(TKeyboardReceiver receiver)
{
    TInputFilter* f = Filter();
    if (f->KeyboardInstalled)
        return true;
    if (!qGuiApp)
        return false;
    f->KeyboardReceiver = std::move(receiver);
    f->KeyboardInstalled = true;
    f->Attach();
    KeyState.ResyncFromPlatform();
    return true;
}

bool RemoveKeyboardHook()
{
    TInputFilter* f = Filter();
    f->KeyboardInstalled = false;
    f->DetachIfIdle();
    return true;
}

bool IsKeyboardHookInstalled()
{
    return Filter()->KeyboardInstalled;
}

bool InstallMouseHook(TMouseReceiver receiver)
{
    TInputFilter* f = Filter();
    if (f->MouseInstalled)
        return true;
    if (!qGuiApp)
        return false;
    f->MouseReceiver = std::move(receiver);
    f->MouseInstalled = true;
    f->Attach();
    return true;
}

bool RemoveMouseHook()
{
    TInputFilter* f = Filter();
    f->MouseInstalled = false;
    f->DetachIfIdle();
    return true;
}

bool IsMouseHookInstalled()
{
    return Filter()->MouseInstalled;
}

namespace {
Qt::KeyboardModifiers LiveModifiers()
{
    return qGuiApp ? QGuiApplication::queryKeyboardModifiers() : Qt::NoModifier;
}
} // namespace

bool IsShiftPressed()
{
    if (IsKeyboardHookInstalled())
        return KeyState.Shift.Held();
    return LiveModifiers() & Qt::ShiftModifier;
}

bool IsCtrlPressed()
{
    if (IsKeyboardHookInstalled())
        return KeyState.Ctrl.Held();
    return LiveModifiers() & Qt::ControlModifier;
}

bool IsAltPressed()
{
    if (IsKeyboardHookInstalled())
        return KeyState.Alt.Held();
    return LiveModifiers() & (Qt::AltModifier | Qt::GroupSwitchModifier);
}

bool IsCapsLockOn()
{
    if (!IsKeyboardHookInstalled()) {
        bool on = false;
        if (QueryX11CapsLock(on))
            return on;
    }
    return KeyState.CapsLock;
}
