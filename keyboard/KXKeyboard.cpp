#include "keyboard/KXKeyboard.h"

#include "common/Messages.h"
#include "keyboard/DefaultKeyboard.h"
#include "keyboard/LayoutFile.h"
#include "platform/Fonts.h"
#include "platform/KeyboardHook.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

QColor ToQColor(TColor c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// Shade of each finger zone. The right hand's middle, ring and little fingers
// (6, 7, 8) share the colours of the left hand's little, ring and middle
// fingers (1, 2, 3).
constexpr TColor ZoneShades[10] = {0x000000, 0x111100, 0x110000, 0x110011, 0x000011,
                                   0x001100, 0x111100, 0x110000, 0x110011, 0x001111};

constexpr int LargeFontSize = 20;
constexpr int SmallFontSize = 12; // for keys whose built-in text is a word

} // namespace

TKXKeyboard::TKXKeyboard(QWidget* owner) : QWidget(owner)
{
    SetDefaultKeyboard();
    SetDefaultLayout();
    SetDefaultPalette();
    InstallKeyboardHook([this](std::uint32_t time, int scanCode, int virtualKey, bool down) {
        return CALLBACK_Keyboard(time, scanCode, virtualKey, down);
    });
    setVisible(false);
}

TKXKeyboard::~TKXKeyboard()
{
    RemoveKeyboardHook();
    Clear();
}

TKXKeyboardButton* TKXKeyboard::FindButton(int scanCode) const
{
    for (const auto& button : ButtonList)
        if (button->ScanCode == scanCode)
            return button.get();
    return nullptr;
}

bool TKXKeyboard::CALLBACK_Keyboard(std::uint32_t time, int scanCode, int virtualKey, bool down)
{
    if (!Enabled)
        return true;
    std::uint8_t character = 0;
    Gathering = true;
    // Every key re-samples Shift, Ctrl, Alt and Caps Lock; only the keys
    // whose look changed are repainted.
    for (const auto& button : ButtonList) {
        const bool hit = button->ScanCode == scanCode;
        if (hit)
            button->Pressed = down;
        button->Refresh();
        if (hit)
            character = button->GetChar();
    }
    Gathering = false;
    FlushInvalidKeys();
    if (Enabled && OnKey)
        return OnKey(time, scanCode, virtualKey, character, down);
    return true;
}

void TKXKeyboard::InvalidateKey(const QRect& rect)
{
    if (Gathering)
        InvalidKeys.push_back(rect);
    else
        update(rect);
}

void TKXKeyboard::FlushInvalidKeys()
{
    if (InvalidKeys.size() == 1) {
        update(InvalidKeys.front());
    } else if (!InvalidKeys.empty()) {
        // One region for all of them: much cheaper than a repaint request per
        // key when Shift changes every caption. Keys of a row share top and
        // height, so sorted by top and left they form the bands of a region.
        std::sort(InvalidKeys.begin(), InvalidKeys.end(), [](const QRect& a, const QRect& b) {
            return a.top() != b.top() ? a.top() < b.top() : a.left() < b.left();
        });
        bool banded = true;
        for (std::size_t i = 1; i < InvalidKeys.size() && banded; ++i) {
            const QRect& a = InvalidKeys[i - 1];
            const QRect& b = InvalidKeys[i];
            banded = a.top() == b.top() ? a.bottom() == b.bottom() && a.right() + 1 < b.left()
                                        : a.bottom() < b.top();
        }
        QRegion region;
        if (banded) {
            region.setRects(InvalidKeys.data(), static_cast<int>(InvalidKeys.size()));
        } else {
            for (const QRect& rect : InvalidKeys)
                region += rect;
        }
        update(region);
    }
    InvalidKeys.clear();
}

void TKXKeyboard::Clear()
{
    ButtonList.clear();
}

void TKXKeyboard::SetDefaultKeyboard()
{
    Clear();
    const double gap = KeyGap;
    int row = -1;
    double left = 0;
    for (const TDefaultKey& key : DefaultKeys()) {
        if (key.Row != row) {
            row = key.Row;
            left = 0;
        }
        auto button = std::make_unique<TKXKeyboardButton>(this);
        button->Left = static_cast<int>(left);
        button->Width = static_cast<int>(KeyUnit * key.WidthUnits);
        button->Top = static_cast<int>(key.Row * (KeyUnit * KeyHeightUnits + gap));
        button->Height = static_cast<int>(KeyUnit * KeyHeightUnits);
        button->Radius = DefaultKeyRadius;
        button->ScanCode = key.ScanCode;
        button->Zone = key.Zone;
        button->Home = key.Home;
        ButtonList.push_back(std::move(button));
        left += KeyUnit * key.WidthUnits + gap;
    }
    ResetSize();
}

void TKXKeyboard::SetDefaultLayout()
{
    const std::size_t cells = std::strlen(DefaultLayoutTypes);
    for (const auto& button : ButtonList) {
        for (const TDefaultKey& key : DefaultKeys()) {
            if (key.ScanCode != button->ScanCode)
                continue;
            const std::size_t cell =
                static_cast<std::size_t>(key.Row * DefaultLayoutColumns + key.Column);
            const char type = cell < cells ? DefaultLayoutTypes[cell] : ' ';
            button->KeyType = type == 'l' ? ktLetter : type == 'c' ? ktControl : ktSign;
            button->Caption = key.Caption;
            button->Value = key.Value;
            button->ShiftValue = key.ShiftValue;
        }
        button->Font.Charset = CanvasCharset;
    }
}

void TKXKeyboard::SetDefaultPalette()
{
    BorderColor = 0x808080;
    BackgroundColor = 0xFFFFFF;
    for (const auto& button : ButtonList) {
        const TColor shade = ZoneShades[std::clamp(button->Zone, 0, 9)];
        button->BorderColor = 0x808080 - 4 * shade;
        button->Color = 0xE2E2E2 - 3 * shade;
        button->Font.Name = TahomaFontName;
        button->Font.Color = DarkerColor(button->BorderColor, 40);
        button->Font.Size = button->GetText().size() > 1 ? SmallFontSize : LargeFontSize;
    }
}

void TKXKeyboard::ResetSize()
{
    int right = 0;
    int bottom = 0;
    for (const auto& button : ButtonList) {
        right = std::max(right, button->Left + button->Width);
        bottom = std::max(bottom, button->Top + button->Height);
    }
    setFixedSize(2 * MarginX + right, 2 * MarginY + bottom);
}

bool TKXKeyboard::LoadLayout(const std::string& fileName)
{
    // The whole file is read first, so a file that fails leaves the keys as
    // they were.
    TLayoutFile file;
    const TLayoutFile::TResult result = file.Load(fileName);
    if (result != TLayoutFile::lrOk) {
        LastError = file.ErrorText();
        if (result == TLayoutFile::lrBadEntry)
            ShowMessage(LastError);
        return false;
    }
    LastError.clear();
    SetDefaultLayout();
    for (const TLayoutEntry& entry : file.Entries()) {
        for (const auto& button : ButtonList) {
            if (button->ScanCode != entry.ScanCode)
                continue;
            button->KeyType = entry.KeyType;
            button->Value = entry.Value;
            button->ShiftValue = entry.ShiftValue;
            button->Caption = entry.Caption;
        }
    }
    update();
    return true;
}

void TKXKeyboard::SetCharset(int charset)
{
    CanvasCharset = charset;
    for (const auto& button : ButtonList)
        button->Font.Charset = charset;
    update();
}

bool TKXKeyboard::IsShiftPressed()
{
    return ::IsShiftPressed();
}

bool TKXKeyboard::IsCtrlPressed()
{
    return ::IsCtrlPressed();
}

bool TKXKeyboard::IsAltPressed()
{
    return ::IsAltPressed();
}

bool TKXKeyboard::IsCapsLockOn()
{
    return ::IsCapsLockOn();
}

void TKXKeyboard::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRect area = event->rect();

    painter.setPen(ToQColor(BorderColor));
    painter.setBrush(ToQColor(BorderColor));
    painter.drawRoundedRect(QRectF(0.5, 0.5, width() - 1, height() - 1), CornerRadius / 2.0,
                            CornerRadius / 2.0);
    painter.setPen(ToQColor(BackgroundColor));
    painter.setBrush(ToQColor(BackgroundColor));
    painter.drawRoundedRect(QRectF(2.5, 2.5, width() - 5, height() - 5), (CornerRadius - 2) / 2.0,
                            (CornerRadius - 2) / 2.0);

    for (const auto& button : ButtonList) {
        if (button->Rect().intersects(area))
            button->PaintKey(painter);
        else
            button->UpdateState();
    }
}
