#pragma once

#include <QString>

#include <string>

// The language's bytes become Qt text only where they are drawn: through the
// code page of the font character-set code of the base's alphabet.
QString BytesToQString(const std::string& bytes, int charset);
QString ByteToQString(unsigned char byte, int charset);
// Characters the code page lacks become '?'.
std::string QStringToBytes(const QString& text, int charset);
