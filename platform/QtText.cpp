#include "platform/QtText.h"

#include "common/CodePage.h"

QString BytesToQString(const std::string& bytes, int charset)
{
    const std::u32string text = TCodePage::ForCharset(charset).ToUnicode(bytes);
    return QString::fromStdU32String(text);
}

QString ByteToQString(unsigned char byte, int charset)
{
    const char32_t ch = TCodePage::ForCharset(charset).ToUnicode(byte);
    return QString::fromStdU32String(std::u32string(1, ch));
}

std::string QStringToBytes(const QString& text, int charset)
{
    return TCodePage::ForCharset(charset).FromUtf8(text.toStdString());
}
