#pragma once

#include <QIcon>

// The icon of a user in the login window's list: a head and shoulders drawn
// in the program's own colours, at 32 x 32 and 64 x 64 pixels.
QIcon UserIcon();
