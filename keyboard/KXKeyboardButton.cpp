#include "keyboard/KXKeyboardButton.h"

#include "keyboard/KXKeyboard.h"
#include "platform/Fonts.h"
#include "platform/QtText.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

QColor ToQColor(TColor c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// Point sizes are meant at 96 dots per inch, whatever the screen reports, so
// the text keeps its size relative to the keys, which are laid out in pixels.
int PointsToPixels(int points)
{
    return (points * 96 + 36) / 72;
}

// The rounded rectangle covering [l, r) x [t, b), the outline inside it, with
// corner ellipses of w x h.
void RoundRect(QPainter& p, int l, int t, int r, int b, int w, int h)
{
    p.drawRoundedRect(QRectF(l + 0.5, t + 0.5, r - l - 1, b - t - 1), w / 2.0, h / 2.0);
}

} // namespace

TKXKeyboardButton::TKXKeyboardButton(TKXKeyboard* keyboard) : Keyboard(keyboard) {}

std::string TKXKeyboardButton::GetText() const
{
    if (!Caption.empty())
        return Caption;
    return std::string(1, static_cast<char>(GetChar()));
}

void TKXKeyboardButton::UpdateState()
{
    bool shift = TKXKeyboard::IsShiftPressed();
    const bool ctrl = TKXKeyboard::IsCtrlPressed();
    const bool alt = TKXKeyboard::IsAltPressed();
    if (KeyType == ktLetter)
        shift = shift != TKXKeyboard::IsCapsLockOn();
    PressedChanged = DrawnPressed != Pressed;
    LookChanged = PressedChanged || shift != DrawnShift;
    Changed = LookChanged || ctrl != DrawnCtrl || alt != DrawnAlt;
    DrawnPressed = Pressed;
    DrawnShift = shift;
    DrawnCtrl = ctrl;
    DrawnAlt = alt;
}

void TKXKeyboardButton::Refresh()
{
    UpdateState();
    if (LookChanged && Keyboard && Keyboard->isVisible())
        Keyboard->InvalidateKey(Rect());
}

void TKXKeyboardButton::PaintKey(QPainter& painter)
{
    UpdateState();
    if (Keyboard && Keyboard->isVisible())
        Draw(painter);
}

QRect TKXKeyboardButton::Rect() const
{
    const int marginX = Keyboard ? Keyboard->MarginX : 0;
    const int marginY = Keyboard ? Keyboard->MarginY : 0;
    return QRect(Left + marginX, Top + marginY, Width, Height);
}

void TKXKeyboardButton::Draw(QPainter& painter) const
{
    const QRect rect = Rect();
    const int l = rect.left(), t = rect.top();
    const int r = l + Width, b = t + Height;
    painter.save();
    painter.setClipRect(rect);
    painter.setRenderHint(QPainter::Antialiasing, true);

    TColor face = Color;
    if (DrawnPressed) {
        face = LighterColor(Color, 60);
        painter.setBrush(ToQColor(face));
        painter.setPen(ToQColor(0x000000));
        RoundRect(painter, l, t, r, b, Radius, Radius);
    } else {
        painter.setBrush(ToQColor(Color));
        painter.setPen(ToQColor(BorderColor));
        RoundRect(painter, l, t, r, b, Radius, Radius);
        if (Home) {
            // A white ring: the white square shows at the corners of a
            // rounded square of the key's colour laid over it.
            const QRect inner(l + 10, t + 10, Width - 20, Height - 20);
            painter.fillRect(inner, ToQColor(0xFFFFFF));
            painter.setBrush(ToQColor(Color));
            painter.setPen(ToQColor(Color));
            RoundRect(painter, l + 10, t + 10, r - 10, b - 10, 12, 12);
            painter.fillRect(QRect(l + 11, t + 11, Width - 22, Height - 22), ToQColor(Color));
        }
    }
    DrawText(painter, face);
    painter.restore();
}

void TKXKeyboardButton::DrawText(QPainter& painter, TColor face) const
{
    const std::string bytes = GetText();
    if (bytes.empty() || bytes[0] == '\0')
        return; // neither a caption nor a character: the key shows nothing
    const int charset = Keyboard ? Keyboard->Charset() : Font.Charset;
    const QString text = BytesToQString(bytes, charset);

    QFont font(FontFamily(QString::fromStdString(Font.Name)));
    font.setPixelSize(PointsToPixels(Font.Size));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int tw = metrics.horizontalAdvance(text);
    const int th = metrics.height();
    const QRect rect = Rect();
    const int shift = DrawnPressed ? 1 : 0;
    const int x = rect.left() + (Width - tw) / 2 + shift;
    const int y = rect.top() + (Height - th) / 2 + shift;

    // The text cell is opaque, in the key's face colour.
    painter.fillRect(QRect(x, y, tw, th), ToQColor(face));
    painter.setPen(ToQColor(Font.Color));
    painter.drawText(x, y + metrics.ascent(), text);
}
