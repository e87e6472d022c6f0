#pragma once

#include "common/Colors.h"
#include "keyboard/KXKeyboardButton.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Receiver of the keyboard's key events: time (ms, the key source's clock),
// scan code, virtual-key code, the character the key types under the layout
// (0: none) and the down flag. True lets the key pass on, false swallows it.
using TKeyboardEvent = std::function<bool(std::uint32_t time, int scanCode, int virtualKey,
                                          std::uint8_t character, bool down)>;

// The on-screen keyboard: the 61 keys of a PC keyboard's main block. It relays
// every key event from the key source to OnKey with the character the key
// types under the loaded layout, and draws the keys with live feedback
// (pressed keys, shifted characters while Shift or, on letters, Caps Lock is
// in effect). A key event repaints only the keys whose look changed.
class TKXKeyboard : public QWidget {
    Q_OBJECT

public:
    explicit TKXKeyboard(QWidget* owner = nullptr);
    ~TKXKeyboard() override;

    TKXKeyboard(const TKXKeyboard&) = delete;
    TKXKeyboard& operator=(const TKXKeyboard&) = delete;

    int CornerRadius = 16;
    int MarginX = 15;
    int MarginY = 15;
    TColor BorderColor = 0x808080;
    TColor BackgroundColor = 0xFFFFFF;
    TKeyboardEvent OnKey;
    // Gate for key events: while false every event passes on untouched.
    bool Enabled = false;

    const std::vector<std::unique_ptr<TKXKeyboardButton>>& Buttons() const { return ButtonList; }
    // The first key with the scan code, or nullptr.
    TKXKeyboardButton* FindButton(int scanCode) const;

    // The receiver of the key source.
    bool CALLBACK_Keyboard(std::uint32_t time, int scanCode, int virtualKey, bool down);

    // Removes and deletes every key.
    void Clear();
    // The 61 built-in keys with their geometry, scan codes, zones and home keys.
    void SetDefaultKeyboard();
    // The built-in US layout: types, characters and captions of the keys.
    void SetDefaultLayout();
    // Frame and key colours by finger zone, and the key fonts.
    void SetDefaultPalette();
    // Sizes the control to hold every key.
    void ResetSize();

    // Applies a layout file over the built-in layout. Returns false and keeps
    // the keys as they were when the file cannot be read, is not well-formed,
    // is not a keyboard layout or has an entry with a scan code that is not
    // an integer; the last of these is also shown as a message, with the file
    // and the entry (ErrorText).
    bool LoadLayout(const std::string& fileName);
    const std::string& ErrorText() const { return LastError; }

    // The font character set of the keys' bytes (the base's alphabet).
    int Charset() const { return CanvasCharset; }
    void SetCharset(int charset);

    // The name that prefixes the remembered settings (objectName).
    std::string Name() const { return objectName().toStdString(); }

    // Remembered settings: Name + ".Visible", ".BorderColor", ".BackgroundColor"
    // in the section. TOptions reads and writes like TIniOptions
    // (ReadBool/ReadColor/WriteBool/WriteColor with section, key, value).
    template <class TOptions> bool LoadState(TOptions& options, const std::string& section);
    template <class TOptions> bool SaveState(TOptions& options, const std::string& section);

    // Modifier and Caps Lock state as of the key event being handled.
    static bool IsShiftPressed();
    static bool IsCtrlPressed();
    static bool IsAltPressed();
    static bool IsCapsLockOn();

    QSize sizeHint() const override { return size(); }

    // Asks for a repaint of one key's rectangle. During a key event the
    // rectangles are gathered and handed over at once.
    void InvalidateKey(const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FlushInvalidKeys();

    std::vector<std::unique_ptr<TKXKeyboardButton>> ButtonList;
    bool Gathering = false;
    std::vector<QRect> InvalidKeys;
    int CanvasCharset = 0;
    std::string LastError;
};

template <class TOptions> bool TKXKeyboard::LoadState(TOptions& options, const std::string& section)
{
    const std::string name = Name();
    const bool visible = options.ReadBool(section, name + ".Visible", !isHidden());
    BorderColor = options.ReadColor(section, name + ".BorderColor", BorderColor);
    BackgroundColor = options.ReadColor(section, name + ".BackgroundColor", BackgroundColor);
    setVisible(visible);
    update();
    return true;
}

template <class TOptions> bool TKXKeyboard::SaveState(TOptions& options, const std::string& section)
{
    const std::string name = Name();
    options.WriteBool(section, name + ".Visible", !isHidden());
    options.WriteColor(section, name + ".BorderColor", BorderColor);
    options.WriteColor(section, name + ".BackgroundColor", BackgroundColor);
    return true;
}
