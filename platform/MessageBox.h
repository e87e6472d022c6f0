#pragma once

// Routes ShowMessage (common/Messages.h) to a message box with the
// application's name as its title. The application calls it once after it
// has created its application object.
void InstallMessageBoxHandler();
