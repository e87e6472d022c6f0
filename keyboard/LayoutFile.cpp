#include "keyboard/LayoutFile.h"

#include <tinyxml2.h>

#include <charconv>
#include <cstring>

namespace {

std::uint8_t FirstByte(const char* text)
{
    return text ? static_cast<std::uint8_t>(text[0]) : 0;
}

} // namespace

TKeyType TLayoutFile::ParseType(const char* text)
{
    if (!text)
        return ktSign;
    if (std::strcmp(text, "letter") == 0)
        return ktLetter;
    if (std::strcmp(text, "control") == 0)
        return ktControl;
    return ktSign;
}

bool TLayoutFile::ParseScanCode(const char* text, int& scanCode)
{
    std::string_view s(text ? text : "");
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (s.empty() || s.front() < '0' || s.front() > '9')
            return false;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size())
        return false;
    scanCode = value;
    return true;
}

TLayoutFile::TResult TLayoutFile::Load(const std::string& fileName)
{
    EntryList.clear();
    LastError.clear();

    tinyxml2::XMLDocument document;
    if (document.LoadFile(fileName.c_str()) != tinyxml2::XML_SUCCESS) {
        LastError = "Keyboard layout \"" + fileName + "\" cannot be read: " +
                    (document.ErrorStr() ? document.ErrorStr() : "unknown error");
        return lrUnreadable;
    }
    const tinyxml2::XMLElement* keyboard = document.FirstChildElement();
    if (!keyboard || std::strcmp(keyboard->Name(), "keyboard") != 0) {
        LastError = "Keyboard layout \"" + fileName + "\" is not a keyboard layout.";
        return lrNotKeyboard;
    }

    // A keyboard without buttons has no entries: every key keeps the built-in layout.
    const tinyxml2::XMLElement* buttons = keyboard->FirstChildElement("buttons");
    std::vector<TLayoutEntry> entries;
    int number = 0;
    for (const tinyxml2::XMLElement* e = buttons ? buttons->FirstChildElement() : nullptr; e;
         e = e->NextSiblingElement()) {
        const char* sc = e->Attribute("sc");
        if (!sc)
            continue;
        ++number;
        TLayoutEntry entry;
        if (!ParseScanCode(sc, entry.ScanCode)) {
            LastError = "Keyboard layout \"" + fileName + "\", entry " + std::to_string(number) +
                        " (line " + std::to_string(e->GetLineNum()) + "): the scan code \"" + sc +
                        "\" is not an integer. The layout was not loaded.";
            return lrBadEntry;
        }
        entry.KeyType = ParseType(e->Attribute("type"));
        entry.Value = FirstByte(e->Attribute("value"));
        entry.ShiftValue = FirstByte(e->Attribute("shiftvalue"));
        if (const char* caption = e->Attribute("caption"))
            entry.Caption = caption;
        entries.push_back(std::move(entry));
    }
    EntryList = std::move(entries);
    return lrOk;
}
