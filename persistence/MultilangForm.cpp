#include "persistence/MultilangForm.h"

#include "common/Messages.h"
#include "persistence/IniFile.h"
#include "persistence/IniOptions.h"
#include "platform/QtText.h"

#include <QComboBox>
#include <QGraphicsObject>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QListWidget>
#include <QSet>
#include <QVariant>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace {

// How a text of a component is held.
enum class TTextKind {
    Text,  // a string property
    Lines, // a string property whose lines are the text
    Items, // the item list of a list or combo box
    Title, // a chart's title
};

struct TLocalisedText {
    const char* ClassName;  // matched with QObject::inherits, so subclasses count
    const char* Key;        // the name after the component's object name and "."
    const char* QtProperty; // the Qt property that holds the text
    TTextKind Kind;
};

// Which text of which kind of component each key means. An object takes every
// row whose class it inherits, the first row for each key.
constexpr TLocalisedText LocalisedTexts[] = {
    {"QLabel", "Caption", "text", TTextKind::Text},
    {"QAbstractButton", "Caption", "text", TTextKind::Text},
    {"QGroupBox", "Caption", "title", TTextKind::Text},
    {"QMenu", "Caption", "title", TTextKind::Text},
    {"QAction", "Caption", "text", TTextKind::Text},
    {"QAction", "Hint", "toolTip", TTextKind::Text},
    {"QLineEdit", "Text", "text", TTextKind::Text},
    {"QPlainTextEdit", "Lines", "plainText", TTextKind::Lines},
    {"QTextEdit", "Lines", "plainText", TTextKind::Lines},
    {"QListWidget", "Items", "items", TTextKind::Items},
    {"QComboBox", "Items", "items", TTextKind::Items},
    {"QChart", "Title", "title", TTextKind::Title},
    {"QWidget", "Hint", "toolTip", TTextKind::Text},
};

struct TLanguageState {
    std::string File;
    int Charset = 0;
};

TLanguageState& Language()
{
    static TLanguageState state;
    return state;
}

QString WithLineBreaks(QString text)
{
    return text.replace(QStringLiteral("//"), QStringLiteral("\n"));
}

QStringList SplitItems(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringList items = text.split(QLatin1Char('\n'));
    for (QString& item : items)
        if (item.endsWith(QLatin1Char('\r')))
            item.chop(1);
    if (items.size() > 1 && items.back().isEmpty())
        items.pop_back(); // a final line break adds no item
    return items;
}

void SetItems(QObject* object, const QStringList& items)
{
    if (auto* list = qobject_cast<QListWidget*>(object)) {
        const int row = list->currentRow();
        list->clear();
        list->addItems(items);
        if (row >= 0 && row < list->count())
            list->setCurrentRow(row);
    } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
        const int index = combo->currentIndex();
        combo->clear();
        combo->addItems(items);
        if (index >= 0 && index < combo->count())
            combo->setCurrentIndex(index);
    }
}

void ApplyText(QObject* object, const TLocalisedText& row, const QString& value)
{
    switch (row.Kind) {
    case TTextKind::Items:
        SetItems(object, SplitItems(value));
        break;
    case TTextKind::Text:
    case TTextKind::Lines:
    case TTextKind::Title:
        object->setProperty(row.QtProperty, value);
        break;
    }
}

// The window's components in the order of ownership: its child objects, and
// the graphics objects (charts) shown by its graphics views. Windows of their
// own among the children localise themselves and are not entered.
void CollectComponents(QObject* parent, QList<QObject*>& components, QSet<QObject*>& seen)
{
    for (QObject* child : parent->children()) {
        if (qobject_cast<TMultilangForm*>(child) || seen.contains(child))
            continue;
        seen.insert(child);
        components.push_back(child);
        CollectComponents(child, components, seen);
        if (auto* view = qobject_cast<QGraphicsView*>(child); view && view->scene()) {
            for (QGraphicsItem* item : view->scene()->items()) {
                QGraphicsObject* graphics = item->toGraphicsObject();
                if (graphics && !seen.contains(graphics)) {
                    seen.insert(graphics);
                    components.push_back(graphics);
                }
            }
        }
    }
}

} // namespace

TMultilangForm::TMultilangForm(const QString& name, QWidget* parent) : QDialog(parent)
{
    setObjectName(name);
}

TMultilangForm::~TMultilangForm() = default;

void TMultilangForm::Localise()
{
    DeclareMessages();
    FormLanguageUpdate();
}

std::vector<std::pair<QString, QString>>::const_iterator
TMultilangForm::FindMessage(const QString& name) const
{
    return std::find_if(Messages.begin(), Messages.end(), [&](const auto& message) {
        return message.first.compare(name, Qt::CaseInsensitive) == 0;
    });
}

void TMultilangForm::AddMessage(const QString& name, const QString& text)
{
    if (FindMessage(name) != Messages.end())
        throw std::runtime_error(("Message '" + name + "' already exist!").toStdString());
    Messages.emplace_back(name, text);
}

QString TMultilangForm::GetMessage(const QString& name) const
{
    const auto message = FindMessage(name);
    if (message == Messages.end())
        return "Message '" + name + "' not exist!";
    return WithLineBreaks(message->second);
}

void TMultilangForm::SetLanguageFile(const std::string& fileName)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) {
        ShowMessage("File " + fileName + " not found.");
        return;
    }
    Language().File = fileName;
    FormLanguageUpdate();
}

const std::string& TMultilangForm::LanguageFile()
{
    return Language().File;
}

int TMultilangForm::LanguageCharset()
{
    return Language().Charset;
}

void TMultilangForm::ClearLanguageFile()
{
    Language() = TLanguageState();
}

void TMultilangForm::FormLanguageUpdate()
{
    const std::string& fileName = Language().File;
    std::error_code ec;
    if (fileName.empty() || !std::filesystem::exists(fileName, ec))
        return;
    TIniDocument document;
    if (!TIniFile(fileName).Load(document)) {
        ShowMessage("(TMultilangForm::FormLanguageUpdate) IniFile open error.. ");
        return;
    }

    const bool wasUpdating = updatesEnabled();
    setUpdatesEnabled(false);

    int charset = 0;
    if (const auto text = document.Find("General", "Charset")) {
        try {
            charset = TIniOptions::TextToInteger(*text) & 0xFF;
        } catch (const EConvertError&) {
            charset = 0;
        }
    }
    Language().Charset = charset;
    // Fonts here are Unicode; the character set decides how the file's bytes
    // are decoded.
    const bool utf8 = document.StartsWithUtf8Bom();
    const auto decode = [&](const std::string& bytes) {
        return utf8 ? QString::fromStdString(bytes) : BytesToQString(bytes, charset);
    };

    const std::string section = objectName().toStdString();
    if (const auto caption = document.Find(section, "Caption"))
        setWindowTitle(decode(*caption));

    QList<QObject*> components;
    QSet<QObject*> seen;
    CollectComponents(this, components, seen);
    for (QObject* component : components) {
        const QString name = component->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        QSet<QString> keysDone;
        for (const TLocalisedText& row : LocalisedTexts) {
            if (!component->inherits(row.ClassName) || keysDone.contains(row.Key))
                continue;
            keysDone.insert(row.Key);
            const std::string key = name.toStdString() + "." + row.Key;
            // A missing key leaves the built-in text exactly as it is.
            if (const auto value = document.Find(section, key))
                ApplyText(component, row, WithLineBreaks(decode(*value)));
        }
    }

    for (auto message = Messages.begin(); message != Messages.end();) {
        const auto value = document.Find(section, "Message." + message->first.toStdString());
        if (!value) {
            ++message;
        } else if (value->empty()) {
            message = Messages.erase(message);
        } else {
            message->second = decode(*value);
            ++message;
        }
    }

    LanguageUpdated();
    setUpdatesEnabled(wasUpdating);
}
