#pragma once

#include "keyboard/KXKeyboardButton.h"

#include <cstdint>
#include <string>
#include <vector>

// One entry of a layout file: what a key types and shows.
struct TLayoutEntry {
    int ScanCode = 0;
    TKeyType KeyType = ktSign;
    std::uint8_t Value = 0;
    std::uint8_t ShiftValue = 0;
    std::string Caption;
};

// A keyboard layout file: an XML document whose first element is "keyboard";
// its first child "buttons" holds the entries, one per child element with an
// "sc" attribute (scan code), whatever the element's name. Attribute text is
// taken byte for byte: the file is in the code page of its language.
class TLayoutFile {
public:
    enum TResult { lrOk, lrUnreadable, lrNotKeyboard, lrBadEntry };

    // Reads the whole file; on any failure no entries are kept.
    TResult Load(const std::string& fileName);

    const std::vector<TLayoutEntry>& Entries() const { return EntryList; }
    const std::string& ErrorText() const { return LastError; }

    // "sign", "letter", "control"; anything else is a sign.
    static TKeyType ParseType(const char* text);
    // An optional sign and decimal digits, surrounding blanks allowed, within
    // the range of int.
    static bool ParseScanCode(const char* text, int& scanCode);

private:
    std::vector<TLayoutEntry> EntryList;
    std::string LastError;
};
