#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <utility>
#include <vector>

// The base of every window: one language file for the whole program can
// replace the texts the window shows and the texts of its messages.
//
// The language file is an INI file. Its section named after the window's
// object name holds "Caption" (the window's title), keys of the form
// <component object name>.<Caption|Items|Hint|Text|Lines|Title> for the texts
// of the window's components (which Qt property each key means for each kind
// of component is listed in one table in MultilangForm.cpp), and
// "Message.<name>" for the window's messages. In every value except the
// window's caption, "//" stands for a line break; in item lists each line is
// one item. The texts are bytes in the code page of the font character set
// "General"/"Charset" (204: CP1251; 0 or missing: CP1252); a file that starts
// with a UTF-8 byte-order mark is UTF-8.
//
// A window sets its object name, builds its components and then calls
// Localise() at the end of its constructor.
class TMultilangForm : public QDialog {
    Q_OBJECT

public:
    explicit TMultilangForm(const QString& name, QWidget* parent = nullptr);
    ~TMultilangForm() override;

    // Declares a message with its built-in text. Throws std::runtime_error
    // "Message '<name>' already exist!" when the name (compared without regard
    // to letter case) is declared already.
    void AddMessage(const QString& name, const QString& text);
    // The message's current text with "//" turned into line breaks, or
    // "Message '<name>' not exist!" for a name that is not declared.
    QString GetMessage(const QString& name) const;

    // Applies the language file to this window; nothing happens without one.
    void FormLanguageUpdate();
    // Makes fileName the program's language file and applies it to this
    // window; shows "File <name> not found." and changes nothing when the file
    // does not exist.
    void SetLanguageFile(const std::string& fileName);

    // The program-wide language file (empty: none) and the character-set code
    // the last update read from it.
    static const std::string& LanguageFile();
    static int LanguageCharset();
    // Forgets the language file (tests start from a clean state with it).
    static void ClearLanguageFile();

protected:
    // DeclareMessages(), then FormLanguageUpdate(): called once by every window
    // at the end of its constructor, when its components exist.
    void Localise();
    // A window declares its messages here with AddMessage.
    virtual void DeclareMessages() {}
    // Runs at the end of every update, for texts that must not come from the
    // language file.
    virtual void LanguageUpdated() {}

private:
    std::vector<std::pair<QString, QString>>::const_iterator FindMessage(const QString& name) const;

    std::vector<std::pair<QString, QString>> Messages;
};
