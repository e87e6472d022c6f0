#pragma once

#include "platform/KeyCodes.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

#include <set>

// Sends key events to a window the way the platform delivers them
// (spontaneous, to the window, which hands them to the focus widget), with the
// native key code of the physical key, Qt's modifiers of the keys held, a
// fresh time stamp per event, and releases plus presses marked as automatic
// repeats while a key is held.
class TKeyDriver {
public:
    explicit TKeyDriver(QWindow* window) : Window(window) {}

    // Each returns whether the event was accepted (a swallowed key is).
    bool Press(int scanCode, int qtKey = 0, const QString& text = {})
    {
        const bool repeat = Held.count(scanCode) != 0;
        Held.insert(scanCode);
        return Send(QEvent::KeyPress, scanCode, qtKey, text, repeat);
    }
    bool Release(int scanCode, int qtKey = 0)
    {
        Held.erase(scanCode);
        return Send(QEvent::KeyRelease, scanCode, qtKey, {}, false);
    }
    // The release the platform sends before each automatic repeat.
    bool RepeatRelease(int scanCode, int qtKey = 0)
    {
        return Send(QEvent::KeyRelease, scanCode, qtKey, {}, true);
    }
    void Tap(int scanCode, int qtKey = 0, const QString& text = {})
    {
        Press(scanCode, qtKey, text);
        Release(scanCode, qtKey);
    }

    Qt::KeyboardModifiers Modifiers() const
    {
        Qt::KeyboardModifiers m;
        if (Held.count(42) || Held.count(54))
            m |= Qt::ShiftModifier;
        if (Held.count(29) || Held.count(-29))
            m |= Qt::ControlModifier;
        if (Held.count(56) || Held.count(-56))
            m |= Qt::AltModifier;
        return m;
    }

private:
    bool Send(QEvent::Type type, int scanCode, int qtKey, const QString& text, bool repeat)
    {
        QKeyEvent event(type, qtKey, Modifiers(), ScanCodeToNativeScanCode(scanCode), 0, 0, text,
                        repeat);
        event.setTimestamp(++Stamp);
        event.setAccepted(false);
        QSpontaneKeyEvent::setSpontaneous(&event); // as if it came from the platform
        QGuiApplication::sendEvent(Window, &event);
        return event.isAccepted();
    }

    QWindow* Window;
    std::set<int> Held;
    static inline quint64 Stamp = 1000;
};
