#include "platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string WithTrailingSeparator(std::string path)
{
    const char sep = static_cast<char>(fs::path::preferred_separator);
    if (!path.empty() && path.back() != sep)
        path.push_back(sep);
    return path;
}

std::string ProgramFolder()
{
    std::error_code ec;
#if defined(__linux__)
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return WithTrailingSeparator(exe.parent_path().string());
#endif
    return WithTrailingSeparator(fs::current_path(ec).string());
}

std::string UserDataFolder()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return WithTrailingSeparator(xdg);
    if (const char* home = std::getenv("HOME"); home && *home)
        return WithTrailingSeparator((fs::path(home) / ".local" / "share").string());
    std::error_code ec;
    return WithTrailingSeparator(fs::temp_directory_path(ec).string());
}
