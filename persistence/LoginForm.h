#pragma once

#include "persistence/MultilangForm.h"

#include <QIcon>

#include <memory>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TUser;
class TUsers;

// The login window: shows the users as large icons, lets the user pick one
// (which closes the window with that profile) or add a new one by name.
class TLoginForm : public TMultilangForm {
    Q_OBJECT

public:
    // Chooses the users folder as TUsers() does; throws its error when none
    // is usable.
    explicit TLoginForm(QWidget* parent = nullptr);
    // With a list of users of the caller's choosing (tests).
    explicit TLoginForm(std::unique_ptr<TUsers> users, QWidget* parent = nullptr);
    ~TLoginForm() override;

    // Opens the profile of the trimmed default name (creating the user when it
    // does not exist yet). Without a usable default name (empty, as at the very
    // first start) the window is shown so that the user picks or creates a
    // profile; closing it without a choice returns none.
    std::unique_ptr<TUser> Login(const std::string& defaultName);

    // The profile chosen in the window, handed over to the caller.
    std::unique_ptr<TUser> TakeUser();
    const TUser* GetUser() const { return User.get(); }
    TUsers& GetUsers() { return *Users; }

    static constexpr const char* UserCreatedText = "Создан новый пользователь.";

protected:
    void DeclareMessages() override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CreateComponents();
    void acUpdateExecute();
    void lvUserListSelectItem();
    void edNewUserNameChange(const QString& text);
    void btAddNewUserClick();

    std::unique_ptr<TUsers> Users;
    std::unique_ptr<TUser> User;
    QIcon UserListIcon;

    QLabel* Label1 = nullptr;
    QListWidget* lvUserList = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* edNewUserName = nullptr;
    QPushButton* btAddNewUser = nullptr;
    QAction* acUpdate = nullptr;
    QAction* acLogin = nullptr;
};
