#include "persistence/LoginForm.h"

#include "common/Messages.h"
#include "persistence/User.h"
#include "persistence/UserIcon.h"
#include "persistence/Users.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include <stdexcept>

namespace {
constexpr int ClientWidth = 261;
constexpr int ClientHeight = 252;
constexpr int LargeIconSize = 32;
} // namespace

TLoginForm::TLoginForm(QWidget* parent) : TLoginForm(std::make_unique<TUsers>(), parent) {}

TLoginForm::TLoginForm(std::unique_ptr<TUsers> users, QWidget* parent)
    : TMultilangForm(QStringLiteral("LoginForm"), parent), Users(std::move(users))
{
    if (!Users)
        throw std::invalid_argument("TLoginForm needs a list of users");
    CreateComponents();
    Localise();
}

TLoginForm::~TLoginForm() = default;

void TLoginForm::CreateComponents()
{
    setWindowTitle(QStringLiteral("Kexora Login [test mode]"));
    setFixedSize(ClientWidth, ClientHeight);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Label1 = new QLabel(QStringLiteral("Выберите пользователя:"), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(8, 8, 245, 16);

    lvUserList = new QListWidget(this);
    lvUserList->setObjectName("lvUserList");
    lvUserList->setGeometry(8, 26, 245, 149);
    lvUserList->setViewMode(QListView::IconMode);
    lvUserList->setIconSize(QSize(LargeIconSize, LargeIconSize));
    lvUserList->setGridSize(QSize(76, 62));
    lvUserList->setMovement(QListView::Static);
    lvUserList->setResizeMode(QListView::Adjust);
    lvUserList->setWrapping(true);
    lvUserList->setWordWrap(true);
    lvUserList->setSelectionMode(QAbstractItemView::SingleSelection);
    lvUserList->setAccessibleName(QStringLiteral("Имя пользователя"));
    UserListIcon = UserIcon(); // drawn once, not on every refresh of the list
    connect(lvUserList, &QListWidget::itemSelectionChanged, this,
            &TLoginForm::lvUserListSelectItem);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 182, 245, 3);

    Label2 = new QLabel(QStringLiteral("Добавить нового пользователя:"), this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(8, 190, 245, 16);

    Label3 = new QLabel(QStringLiteral("Имя:"), this);
    Label3->setObjectName("Label3");
    Label3->setGeometry(8, 218, 38, 16);

    edNewUserName = new QLineEdit(this);
    edNewUserName->setObjectName("edNewUserName");
    edNewUserName->setGeometry(48, 214, 116, 24);
    connect(edNewUserName, &QLineEdit::textChanged, this, &TLoginForm::edNewUserNameChange);

    btAddNewUser = new QPushButton(QStringLiteral("Добавить"), this);
    btAddNewUser->setObjectName("btAddNewUser");
    btAddNewUser->setGeometry(170, 213, 83, 26);
    btAddNewUser->setEnabled(false);
    btAddNewUser->setAutoDefault(false);
    connect(btAddNewUser, &QPushButton::clicked, this, &TLoginForm::btAddNewUserClick);
    // Enter in the name field adds the user rather than closing the window.
    connect(edNewUserName, &QLineEdit::returnPressed, btAddNewUser, &QPushButton::click);

    acUpdate = new QAction(this);
    acUpdate->setObjectName("acUpdate");
    connect(acUpdate, &QAction::triggered, this, &TLoginForm::acUpdateExecute);
    acLogin = new QAction(this);
    acLogin->setObjectName("acLogin");
    addAction(acUpdate);
    addAction(acLogin);
}

void TLoginForm::DeclareMessages()
{
    AddMessage(QStringLiteral("UserCreated"), QString::fromUtf8(UserCreatedText));
}

std::unique_ptr<TUser> TLoginForm::Login(const std::string& defaultName)
{
    const std::string name = TUser::TrimName(defaultName);
    if (!name.empty() && TUser::CheckName(name).empty()) {
        User = std::make_unique<TUser>(name, *Users);
        return std::move(User);
    }
    // No usable remembered name: let the user choose.
    exec();
    return std::move(User);
}

std::unique_ptr<TUser> TLoginForm::TakeUser()
{
    return std::move(User);
}

void TLoginForm::showEvent(QShowEvent* event)
{
    TMultilangForm::showEvent(event);
    acUpdate->trigger();
}

void TLoginForm::mousePressEvent(QMouseEvent* event)
{
    TMultilangForm::mousePressEvent(event);
    acUpdate->trigger();
}

void TLoginForm::acUpdateExecute()
{
    Users->Refresh();
    const QSignalBlocker blocker(lvUserList);
    lvUserList->clear();
    for (const std::string& name : Users->GetNames())
        new QListWidgetItem(UserListIcon, QString::fromStdString(name), lvUserList);
}

void TLoginForm::lvUserListSelectItem()
{
    const QList<QListWidgetItem*> selected = lvUserList->selectedItems();
    if (selected.isEmpty() || selected.front()->text().isEmpty())
        return;
    try {
        User = std::make_unique<TUser>(selected.front()->text().toStdString(), *Users);
    } catch (const std::invalid_argument& error) {
        ShowMessage(error.what());
        return;
    }
    accept();
}

void TLoginForm::edNewUserNameChange(const QString& text)
{
    btAddNewUser->setEnabled(!text.isEmpty());
}

void TLoginForm::btAddNewUserClick()
{
    const std::string name = TUser::TrimName(edNewUserName->text().toStdString());
    if (name.empty())
        return;
    try {
        // Opening the profile creates the user; adding does not choose it.
        TUser created(name, *Users);
    } catch (const std::invalid_argument& error) {
        ShowMessage(error.what());
        return;
    }
    User.reset();
    acUpdate->trigger();
    ShowMessage(GetMessage(QStringLiteral("UserCreated")).toStdString());
}
