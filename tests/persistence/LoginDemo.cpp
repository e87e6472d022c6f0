#include "persistence/LoginForm.h"
#include "persistence/User.h"
#include "persistence/Users.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"

#include <iostream>

// Shows the login window on a users folder given on the command line (for
// looking at it under a display); prints the chosen user's name.
int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    InstallMessageBoxHandler();
    if (argc < 2) {
        std::cerr << "usage: kx_login_demo <users folder>\n";
        return 2;
    }
    TLoginForm form(std::make_unique<TUsers>(std::vector<std::string>{argv[1]}));
    const std::unique_ptr<TUser> user = form.Login("");
    std::cout << (user ? user->GetName() : std::string("(none)")) << std::endl;
    return 0;
}
