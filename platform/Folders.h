#pragma once

#include <string>

// Folders of the running program. Paths are returned with a trailing
// separator, so a file name can be appended directly.

// The folder of the executable.
std::string ProgramFolder();
// The per-user application data folder of the platform (on Linux
// $XDG_DATA_HOME, by default ~/.local/share).
std::string UserDataFolder();
// Appends the native separator unless the path is empty or already ends in one.
std::string WithTrailingSeparator(std::string path);
