#include "keyboard/KXKeyboard.h"
#include "keyboard/LayoutFile.h"

#include "common/Messages.h"
#include "platform/KeyCodes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

const TKXKeyboardButton& Key(const TKXKeyboard& keyboard, int scanCode)
{
    const TKXKeyboardButton* button = keyboard.FindButton(scanCode);
    if (!button)
        throw std::runtime_error("no key " + std::to_string(scanCode));
    return *button;
}

// What a key types and shows.
struct TLooks {
    int ScanCode;
    TKeyType Type;
    int Value;
    int ShiftValue;
    std::string Caption;
};

void ExpectLooks(const TKXKeyboard& keyboard, const TLooks& looks)
{
    SCOPED_TRACE("key " + std::to_string(looks.ScanCode));
    const TKXKeyboardButton& key = Key(keyboard, looks.ScanCode);
    EXPECT_EQ(key.KeyType, looks.Type);
    EXPECT_EQ(key.Value, looks.Value);
    EXPECT_EQ(key.ShiftValue, looks.ShiftValue);
    EXPECT_EQ(key.Caption, looks.Caption);
}

const TLooks BuiltInA{30, ktLetter, 'a', 'A', ""};
const TLooks BuiltInS{31, ktLetter, 's', 'S', ""};
const TLooks BuiltInSpace{57, ktSign, ' ', ' ', "Space"};

class LayoutTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = Folder.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Layout(const std::string& buttons)
    {
        return Write("test.Layout", "<keyboard><buttons>" + buttons + "</buttons></keyboard>");
    }

    QTemporaryDir Folder;
    TKXKeyboard Keyboard;
};

// --- The built-in keyboard ---

TEST_F(LayoutTest, BuiltInKeyboardHasSixtyOneKnownKeys)
{
    ASSERT_EQ(Keyboard.Buttons().size(), 61u);
    EXPECT_EQ(Keyboard.width(), 903);
    EXPECT_EQ(Keyboard.height(), 281);
    std::set<int> scanCodes;
    int letters = 0, controls = 0;
    for (const auto& key : Keyboard.Buttons()) {
        SCOPED_TRACE(key->ScanCode);
        EXPECT_TRUE(scanCodes.insert(key->ScanCode).second);
        // The key source can report every key the keyboard shows.
        EXPECT_NE(FindKeyCode(key->ScanCode), nullptr);
        EXPECT_NE(ScanCodeToNativeScanCode(key->ScanCode), 0u);
        EXPECT_EQ(key->Radius, 10);
        EXPECT_EQ(key->Height, 47);
        EXPECT_EQ(key->Top % 51, 0);
        letters += key->KeyType == ktLetter;
        controls += key->KeyType == ktControl;
        // Control keys type nothing; the session acts on their virtual-key codes.
        if (key->KeyType == ktControl) {
            EXPECT_EQ(key->Value, 0);
            EXPECT_EQ(key->ShiftValue, 0);
            EXPECT_FALSE(key->Caption.empty());
        }
    }
    EXPECT_EQ(letters, 26);
    EXPECT_EQ(controls, 13);
}

TEST_F(LayoutTest, BuiltInGeometry)
{
    struct TRow {
        int ScanCode, Left, Top, Width;
    };
    const TRow rows[] = {
        {41, 0, 0, 55},      {3, 118, 0, 55},     {14, 767, 0, 105},   {15, 0, 51, 85},
        {16, 89, 51, 55},    {43, 797, 51, 75},   {58, 0, 102, 105},   {30, 109, 102, 55},
        {28, 758, 102, 115}, {42, 0, 153, 135},   {44, 139, 153, 55},  {54, 729, 153, 144},
        {29, 0, 204, 65},    {-91, 69, 204, 65},  {57, 207, 204, 390}, {-56, 601, 204, 65},
        {-93, 739, 204, 65}, {-29, 808, 204, 65},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.ScanCode);
        const TKXKeyboardButton& key = Key(Keyboard, row.ScanCode);
        EXPECT_EQ(key.Left, row.Left);
        EXPECT_EQ(key.Top, row.Top);
        EXPECT_EQ(key.Width, row.Width);
    }
    // Each row ends at 872 or 873 pixels.
    for (int scanCode : {14, 43, 28, 54, -29}) {
        const TKXKeyboardButton& key = Key(Keyboard, scanCode);
        EXPECT_GE(key.Left + key.Width, 872);
        EXPECT_LE(key.Left + key.Width, 873);
    }
}

TEST_F(LayoutTest, HomeKeysAndZones)
{
    const std::set<int> home{30, 31, 32, 33, 36, 37, 38, 39, 57};
    for (const auto& key : Keyboard.Buttons())
        EXPECT_EQ(key->Home, home.count(key->ScanCode) == 1) << key->ScanCode;
    // Digits 2, 3 and 4 sit one zone left of W, E and R.
    EXPECT_EQ(Key(Keyboard, 3).Zone, 1);
    EXPECT_EQ(Key(Keyboard, 4).Zone, 2);
    EXPECT_EQ(Key(Keyboard, 5).Zone, 3);
    EXPECT_EQ(Key(Keyboard, 17).Zone, 2);
    EXPECT_EQ(Key(Keyboard, 8).Zone, 5);
    EXPECT_EQ(Key(Keyboard, 57).Zone, 9);
    EXPECT_EQ(Key(Keyboard, 39).Zone, 8);
}

TEST_F(LayoutTest, PaletteColoursEachZone)
{
    struct TZone {
        TColor Border, Fill, Text, Pressed;
    };
    const TZone zones[10] = {
        {0x808080, 0xE2E2E2, 0x4D4D4D, 0xF3F3F3}, {0x3C3C80, 0xAFAFE2, 0x24244D, 0xDFDFF3},
        {0x3C8080, 0xAFE2E2, 0x244D4D, 0xDFF3F3}, {0x3C803C, 0xAFE2AF, 0x244D24, 0xDFF3DF},
        {0x80803C, 0xE2E2AF, 0x4D4D24, 0xF3F3DF}, {0x803C80, 0xE2AFE2, 0x4D244D, 0xF3DFF3},
        {0x3C3C80, 0xAFAFE2, 0x24244D, 0xDFDFF3}, {0x3C8080, 0xAFE2E2, 0x244D4D, 0xDFF3F3},
        {0x3C803C, 0xAFE2AF, 0x244D24, 0xDFF3DF}, {0x803C3C, 0xE2AFAF, 0x4D2424, 0xF3DFDF},
    };
    EXPECT_EQ(Keyboard.BorderColor, 0x808080u);
    EXPECT_EQ(Keyboard.BackgroundColor, 0xFFFFFFu);
    for (const auto& key : Keyboard.Buttons()) {
        SCOPED_TRACE(key->ScanCode);
        const TZone& zone = zones[key->Zone];
        EXPECT_EQ(key->BorderColor, zone.Border);
        EXPECT_EQ(key->Color, zone.Fill);
        EXPECT_EQ(key->Font.Color, zone.Text);
        EXPECT_EQ(LighterColor(key->Color, 60), zone.Pressed);
        EXPECT_EQ(key->Font.Name, "Tahoma");
        // Words get the small font, single characters the large one.
        EXPECT_EQ(key->Font.Size, key->Caption.empty() ? 20 : 12);
    }
}

// --- Layout files ---

struct TFileCase {
    const char* Name;
    std::string Buttons; // inside <keyboard><buttons>
    std::vector<TLooks> Expected;
};

TEST_F(LayoutTest, LayoutFileEntries)
{
    const TFileCase cases[] = {
        {"empty buttons: the built-in layout", "", {BuiltInA, BuiltInS, BuiltInSpace}},
        {"long value: its first byte",
         R"(<b sc="30" type="letter" value="xyz" shiftvalue="XYZ"/>)",
         {{30, ktLetter, 'x', 'X', ""}, BuiltInS}},
        {"sc only: a sign key typing nothing", R"(<b sc="30"/>)", {{30, ktSign, 0, 0, ""}}},
        {"missing type: a sign key",
         R"(<b sc="30" value="q" shiftvalue="Q"/>)",
         {{30, ktSign, 'q', 'Q', ""}}},
        {"type compared exactly",
         R"(<b sc="30" type="Letter" value="q"/>)",
         {{30, ktSign, 'q', 0, ""}}},
        {"control with caption",
         R"(<b sc="30" type="control" caption="Go"/>)",
         {{30, ktControl, 0, 0, "Go"}}},
        {"duplicates: the later wins",
         R"(<b sc="30" type="letter" value="x"/><b sc="30" type="letter" value="y"/>)",
         {{30, ktLetter, 'y', 0, ""}}},
        {"any element name; text, comments and entries without sc skipped",
         R"(text<!-- note --><key sc="31" type="letter" value="z" shiftvalue="Z"/><nosc value="w"/>)",
         {BuiltInA, {31, ktLetter, 'z', 'Z', ""}}},
        {"nested buttons are not entries",
         R"(<b sc="30" value="x"><b sc="31" value="y"/></b>)",
         {{30, ktSign, 'x', 0, ""}, BuiltInS}},
        {"unknown scan code changes nothing",
         R"(<b sc="200" value="x"/><b sc="0" value="x"/>)",
         {BuiltInA, BuiltInS, BuiltInSpace}},
        {"extended key", R"(<b sc="-56" type="letter" value="q"/>)", {{-56, ktLetter, 'q', 0, ""}}},
        {"blanks and plus sign around sc",
         R"(<b sc=" 30 " value="x"/><b sc="+31" value="y"/>)",
         {{30, ktSign, 'x', 0, ""}, {31, ktSign, 'y', 0, ""}}},
        {"entities and empty attributes",
         R"(<b sc="30" value="&amp;" shiftvalue="&lt;" caption=""/><b sc="31" value=""/>)",
         {{30, ktSign, '&', '<', ""}, {31, ktSign, 0, 0, ""}}},
    };
    for (const TFileCase& c : cases) {
        SCOPED_TRACE(c.Name);
        // Each load starts from the built-in layout, whatever came before.
        ASSERT_TRUE(Keyboard.LoadLayout(Layout(R"(<b sc="57" value="x" caption="X"/>)")));
        ASSERT_TRUE(Keyboard.LoadLayout(Layout(c.Buttons)));
        EXPECT_EQ(Keyboard.ErrorText(), "");
        for (const TLooks& looks : c.Expected)
            ExpectLooks(Keyboard, looks);
        if (c.Buttons.find("57") == std::string::npos)
            ExpectLooks(Keyboard, BuiltInSpace);
    }
}

TEST_F(LayoutTest, OnlyTheFirstButtonsDirectlyUnderKeyboardCounts)
{
    ASSERT_TRUE(Keyboard.LoadLayout(
        Write("a.Layout", R"(<keyboard><group><buttons><b sc="30" value="x"/></buttons></group>)"
                          R"(<buttons><b sc="31" value="y"/></buttons>)"
                          R"(<buttons><b sc="32" value="z"/></buttons></keyboard>)")));
    ExpectLooks(Keyboard, BuiltInA);
    ExpectLooks(Keyboard, {31, ktSign, 'y', 0, ""});
    ExpectLooks(Keyboard, {32, ktLetter, 'd', 'D', ""});

    // A keyboard without buttons is the built-in layout.
    ASSERT_TRUE(Keyboard.LoadLayout(Write("b.Layout", "<keyboard/>")));
    ExpectLooks(Keyboard, BuiltInS);
}

TEST_F(LayoutTest, FailingLoadKeepsTheLayoutBefore)
{
    std::vector<std::string> messages;
    const TMessageHandler previous =
        SetMessageHandler([&](const std::string& text) { messages.push_back(text); });

    struct TFailure {
        const char* Name;
        std::string Bytes; // empty name: no file at all
        bool Reported;     // shown as a message
    };
    const TFailure failures[] = {
        {"missing file", "", false},
        {"not well-formed", R"(<keyboard><buttons><b sc="30" value="y"/></keyboard>)", false},
        {"empty document", "", false},
        {"first element not keyboard",
         R"(<layout><buttons><b sc="30" value="y"/></buttons></layout>)", false},
        {"sc with a letter",
         R"(<keyboard><buttons><b sc="31" value="y"/><b sc="3O" value="y"/></buttons></keyboard>)",
         true},
        {"empty sc", R"(<keyboard><buttons><b sc="" value="y"/></buttons></keyboard>)", true},
        {"hexadecimal sc", R"(<keyboard><buttons><b sc="0x1E" value="y"/></buttons></keyboard>)",
         true},
        {"fractional sc", R"(<keyboard><buttons><b sc="30.0" value="y"/></buttons></keyboard>)",
         true},
        {"sc out of range",
         R"(<keyboard><buttons><b sc="99999999999" value="y"/></buttons></keyboard>)", true},
        {"two signs", R"(<keyboard><buttons><b sc="+-30" value="y"/></buttons></keyboard>)", true},
    };
    for (const TFailure& f : failures) {
        SCOPED_TRACE(f.Name);
        ASSERT_TRUE(Keyboard.LoadLayout(Layout(R"(<b sc="30" type="letter" value="x"/>)")));
        messages.clear();
        const std::string name = std::string(f.Name) == "missing file"
                                     ? Folder.filePath("none.Layout").toStdString()
                                     : Write("bad.Layout", f.Bytes);
        EXPECT_FALSE(Keyboard.LoadLayout(name));
        EXPECT_FALSE(Keyboard.ErrorText().empty());
        ExpectLooks(Keyboard, {30, ktLetter, 'x', 0, ""});
        ExpectLooks(Keyboard, BuiltInS); // entries before a bad one are not applied either
        ASSERT_EQ(messages.size(), f.Reported ? 1u : 0u);
        if (f.Reported) {
            EXPECT_NE(messages[0].find(name), std::string::npos) << messages[0];
            EXPECT_NE(messages[0].find("entry "), std::string::npos) << messages[0];
            EXPECT_EQ(messages[0], Keyboard.ErrorText());
        }
    }
    SetMessageHandler(previous);
}

TEST_F(LayoutTest, BadScanCodeNamesTheEntryAndItsLine)
{
    TLayoutFile file;
    const std::string name =
        Write("bad.Layout", "<keyboard>\n<buttons>\n<b sc=\"2\"/>\n<x/>\n<b sc=\"x1\"/>\n"
                            "</buttons>\n</keyboard>\n");
    EXPECT_EQ(file.Load(name), TLayoutFile::lrBadEntry);
    EXPECT_EQ(file.ErrorText(), "Keyboard layout \"" + name +
                                    "\", entry 2 (line 5): the scan code \"x1\" is not an "
                                    "integer. The layout was not loaded.");
    EXPECT_TRUE(file.Entries().empty());
}

TEST_F(LayoutTest, AttributeBytesArriveAsTheyAre)
{
    // Windows-1251: й, Й and "Пробел"; the declaration is not acted on.
    const std::string bytes =
        "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n"
        "<keyboard><buttons>"
        "<b sc=\"16\" type=\"letter\" value=\"\xE9\" shiftvalue=\"\xC9\"/>"
        "<b sc=\"57\" value=\" \" shiftvalue=\" \" caption=\"\xCF\xF0\xEE\xE1\xE5\xEB\"/>"
        "</buttons></keyboard>";
    ASSERT_TRUE(Keyboard.LoadLayout(Write("ru.Layout", bytes)));
    ExpectLooks(Keyboard, {16, ktLetter, 0xE9, 0xC9, ""});
    ExpectLooks(Keyboard, {57, ktSign, ' ', ' ', "\xCF\xF0\xEE\xE1\xE5\xEB"});
}

TEST_F(LayoutTest, LoadedCaptionKeepsTheFontSize)
{
    ASSERT_TRUE(Keyboard.LoadLayout(Layout(R"(<b sc="30" type="letter" caption="Alpha"/>)")));
    EXPECT_EQ(Key(Keyboard, 30).Font.Size, 20);
    EXPECT_EQ(Key(Keyboard, 30).GetText(), "Alpha");
}

// --- The shipped layouts ---

std::string LanguagesFolder()
{
    return std::string(KEXORA_SOURCE_DIR) + "/data/Modules/Languages/";
}

TEST_F(LayoutTest, ShippedLayoutsLoad)
{
    const std::set<int> typing{2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 16, 17, 18, 19,
                               20, 21, 22, 23, 24, 25, 26, 27, 30, 31, 32, 33, 34, 35, 36, 37,
                               38, 39, 40, 41, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53};
    for (const char* language :
         {"English", "Russian", "German", "French", "Spanish", "Ukrainian"}) {
        SCOPED_TRACE(language);
        const std::string name = LanguagesFolder() + language + ".Layout";
        TLayoutFile file;
        ASSERT_EQ(file.Load(name), TLayoutFile::lrOk) << file.ErrorText();
        std::set<int> mentioned;
        for (const TLayoutEntry& entry : file.Entries())
            mentioned.insert(entry.ScanCode);
        std::set<int> expected = typing;
        expected.insert(57);
        EXPECT_EQ(mentioned, expected);
        ASSERT_TRUE(Keyboard.LoadLayout(name));
        ExpectLooks(Keyboard, BuiltInSpace);
    }
}

TEST_F(LayoutTest, ShippedLayoutsTypeTheirLanguage)
{
    // The US layout file gives exactly the built-in layout.
    TKXKeyboard builtIn;
    ASSERT_TRUE(Keyboard.LoadLayout(LanguagesFolder() + "English.Layout"));
    for (const auto& key : builtIn.Buttons())
        ExpectLooks(Keyboard,
                    {key->ScanCode, key->KeyType, key->Value, key->ShiftValue, key->Caption});

    struct TRow {
        const char* Language;
        TLooks Looks;
    };
    const TRow rows[] = {
        {"Russian", {16, ktLetter, 0xE9, 0xC9, ""}}, // й Й
        {"Russian", {41, ktLetter, 0xB8, 0xA8, ""}}, // ё Ё
        {"Russian", {4, ktSign, '3', 0xB9, ""}},     // 3 №
        {"Russian", {53, ktSign, '.', ',', ""}},
        {"Ukrainian", {31, ktLetter, 0xB3, 0xB2, ""}}, // і І
        {"Ukrainian", {43, ktLetter, 0xB4, 0xA5, ""}}, // ґ Ґ
        {"Ukrainian", {41, ktSign, '\'', '~', ""}},
        {"German", {21, ktLetter, 'z', 'Z', ""}},
        {"German", {12, ktSign, 0xDF, '?', ""}},    // ß
        {"German", {13, ktSign, 0, 0, ""}},         // dead acute and grave
        {"German", {41, ktSign, 0, 0xB0, ""}},      // dead circumflex, degree
        {"German", {40, ktLetter, 0xE4, 0xC4, ""}}, // ä Ä
        {"French", {16, ktLetter, 'a', 'A', ""}},
        {"French", {3, ktSign, 0xE9, '2', ""}},      // é 2
        {"French", {26, ktSign, 0, 0, ""}},          // dead circumflex and diaeresis
        {"Spanish", {39, ktLetter, 0xF1, 0xD1, ""}}, // ñ Ñ
        {"Spanish", {40, ktSign, 0, 0, ""}},         // dead acute and diaeresis
        {"Spanish", {13, ktSign, 0xA1, 0xBF, ""}},   // ¡ ¿
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Language);
        ASSERT_TRUE(Keyboard.LoadLayout(LanguagesFolder() + row.Language + ".Layout"));
        ExpectLooks(Keyboard, row.Looks);
    }
}

} // namespace
