#include "persistence/MultilangForm.h"

#include "MessageCapture.h"
#include "TempFolder.h"
#include "common/CodePage.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A window with one component of each localised kind.
class TSampleForm : public TMultilangForm {
public:
    explicit TSampleForm(QWidget* parent = nullptr) : TMultilangForm("SampleForm", parent)
    {
        setWindowTitle("Sample");
        lbTitle = Make<QLabel>("lbTitle", this);
        lbTitle->setText("Title");
        lbLink = Make<QLabel>("lbLink", this);
        lbLink->setText("http://example.org");
        lbItems = Make<QListWidget>("lbItems", this);
        lbItems->addItems({"one", "two"});
        cbRange = Make<QComboBox>("cbRange", this);
        cbRange->addItems({"a", "b", "c"});
        cbRange->setCurrentIndex(1);
        btStart = Make<QPushButton>("btStart", this);
        btStart->setText("Start");
        btStart->setToolTip("Starts");
        edName = Make<QLineEdit>("edName", this);
        mmNotes = Make<QPlainTextEdit>("mmNotes", this);
        acExit = Make<QAction>("acExit", this);
        acExit->setText("Exit");
        Localise();
    }

    template <class T, class TParent> static T* Make(const char* name, TParent* parent)
    {
        T* object = new T(parent);
        object->setObjectName(name);
        return object;
    }

    int Updates = 0;
    QLabel* lbTitle;
    QLabel* lbLink;
    QListWidget* lbItems;
    QComboBox* cbRange;
    QPushButton* btStart;
    QLineEdit* edName;
    QPlainTextEdit* mmNotes;
    QAction* acExit;

protected:
    void DeclareMessages() override
    {
        AddMessage("Version", "Version: ");
        AddMessage("ERR.AudioDeviceError", "Error opening sound device");
    }
    void LanguageUpdated() override { ++Updates; }
};

QStringList Items(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

std::string Cp1251(const std::string& utf8)
{
    return TCodePage::Get(1251)->FromUtf8(utf8);
}

class MultilangFormTest : public testing::Test {
protected:
    void SetUp() override { TMultilangForm::ClearLanguageFile(); }
    void TearDown() override { TMultilangForm::ClearLanguageFile(); }

    // Makes the file the program's language file, as the main window does.
    std::string UseLanguageFile(const std::string& bytes)
    {
        const std::string file = Folder / "Localization.ini";
        WriteBytes(file, bytes);
        TSampleForm first;
        first.SetLanguageFile(file);
        return file;
    }

    TTempFolder Folder;
};

TEST_F(MultilangFormTest, WithoutLanguageFileWindowsKeepTheirTexts)
{
    TSampleForm form;
    EXPECT_EQ(form.windowTitle(), "Sample");
    EXPECT_EQ(form.lbTitle->text(), "Title");
    EXPECT_EQ(form.GetMessage("Version"), "Version: ");
    EXPECT_EQ(form.GetMessage("version"), "Version: ") << "names are case-blind";
    EXPECT_EQ(form.Updates, 0);
}

TEST_F(MultilangFormTest, Cp1251FileTranslatesTheWindow)
{
    UseLanguageFile(Cp1251("[General]\r\nCharset=204\r\n"
                           "[SampleForm]\r\n"
                           "Caption=Образец//окна\r\n"
                           "lbTitle.Caption=Привет//мир\r\n"
                           "LBITEMS.items=Один//Два//Три\r\n"
                           "cbRange.Items=Первый//Второй\r\n"
                           "btStart.Caption=Старт\r\n"
                           "btStart.Hint=Начать//занятие\r\n"
                           "edName.Text=Имя\r\n"
                           "mmNotes.Lines=строка 1//строка 2\r\n"
                           "acExit.Caption=Выход\r\n"
                           "Message.Version=\"Версия: \"\r\n"
                           "Message.ERR.AudioDeviceError=Нет//звука\r\n"
                           "[OtherForm]\r\n"
                           "lbLink.Caption=Чужой\r\n"));
    TSampleForm form;
    EXPECT_EQ(TMultilangForm::LanguageCharset(), 204);
    EXPECT_EQ(form.windowTitle(), "Образец//окна") << "no line breaks in the caption";
    EXPECT_EQ(form.lbTitle->text(), "Привет\nмир");
    EXPECT_EQ(Items(form.lbItems), QStringList({"Один", "Два", "Три"}));
    EXPECT_EQ(Items(form.cbRange), QStringList({"Первый", "Второй"}));
    EXPECT_EQ(form.cbRange->currentIndex(), 1);
    EXPECT_EQ(form.btStart->text(), "Старт");
    EXPECT_EQ(form.btStart->toolTip(), "Начать\nзанятие");
    EXPECT_EQ(form.edName->text(), "Имя");
    EXPECT_EQ(form.mmNotes->toPlainText(), "строка 1\nстрока 2");
    EXPECT_EQ(form.acExit->text(), "Выход");
    EXPECT_EQ(form.GetMessage("Version"), "Версия: ");
    EXPECT_EQ(form.GetMessage("ERR.AudioDeviceError"), "Нет\nзвука");
    EXPECT_EQ(form.lbLink->text(), "http://example.org")
        << "other windows' keys and built-in texts stay as they are";
    EXPECT_EQ(form.Updates, 1);
}

TEST_F(MultilangFormTest, EmptyValuesAreAppliedAndRemoveMessages)
{
    UseLanguageFile("[SampleForm]\nlbTitle.Caption=\nlbItems.Items=\nMessage.Version=\n");
    TSampleForm form;
    EXPECT_EQ(TMultilangForm::LanguageCharset(), 0);
    EXPECT_EQ(form.lbTitle->text(), "");
    EXPECT_EQ(form.lbItems->count(), 0);
    EXPECT_EQ(form.GetMessage("Version"), "Message 'Version' not exist!");
    EXPECT_EQ(form.GetMessage("ERR.AudioDeviceError"), "Error opening sound device");
}

TEST_F(MultilangFormTest, Utf8FileWithByteOrderMark)
{
    UseLanguageFile("\xEF\xBB\xBF[General]\r\nCharset=204\r\n[SampleForm]\r\n"
                    "lbTitle.Caption=Ελληνικά ✓\r\n");
    TSampleForm form;
    EXPECT_EQ(form.lbTitle->text(), "Ελληνικά ✓");
}

TEST_F(MultilangFormTest, WesternFileWithoutCharsetUsesCp1252)
{
    UseLanguageFile("[SampleForm]\r\nlbTitle.Caption=Caf\xE9 \x80\r\n");
    TSampleForm form;
    EXPECT_EQ(form.lbTitle->text(), "Café €");
}

TEST_F(MultilangFormTest, MissingFileIsReportedAndChangesNothing)
{
    const std::string file = UseLanguageFile("[SampleForm]\nlbTitle.Caption=Kept\n");
    TMessageCapture messages;
    TSampleForm form;
    form.SetLanguageFile(Folder / "Absent.ini");
    ASSERT_EQ(messages.Texts.size(), 1u);
    EXPECT_EQ(messages.Texts[0], "File " + (Folder / "Absent.ini") + " not found.");
    EXPECT_EQ(TMultilangForm::LanguageFile(), file);
    EXPECT_EQ(form.lbTitle->text(), "Kept");
}

TEST_F(MultilangFormTest, MessagesDeclaredTwiceOrUnknown)
{
    TSampleForm form;
    try {
        form.AddMessage("VERSION", "again");
        FAIL() << "a second declaration must fail";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Message 'VERSION' already exist!");
    }
    EXPECT_EQ(form.GetMessage("Nope"), "Message 'Nope' not exist!");
    form.AddMessage("Two.Lines", "a//b");
    EXPECT_EQ(form.GetMessage("Two.Lines"), "a\nb");
}

TEST_F(MultilangFormTest, ChildWindowsLocaliseThemselves)
{
    UseLanguageFile("[SampleForm]\nlbTitle.Caption=Translated\n");
    TSampleForm parent;
    TSampleForm* child = new TSampleForm(&parent);
    child->setObjectName("ChildForm");
    child->lbTitle->setText("Child");
    parent.FormLanguageUpdate();
    EXPECT_EQ(parent.lbTitle->text(), "Translated");
    EXPECT_EQ(child->lbTitle->text(), "Child");
}

} // namespace
