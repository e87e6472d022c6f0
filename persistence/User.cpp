#include "persistence/User.h"

#include "persistence/Users.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {
bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

std::string TUser::TrimName(const std::string& name)
{
    std::size_t first = 0;
    std::size_t last = name.size();
    while (first < last && IsTrimmed(name[first]))
        ++first;
    while (last > first && IsTrimmed(name[last - 1]))
        --last;
    return name.substr(first, last - first);
}

std::string TUser::CheckName(const std::string& trimmedName)
{
    const std::string quoted = "The user name \"" + trimmedName + "\" ";
    if (trimmedName == "." || trimmedName == "..")
        return quoted + "cannot be used: it is not a folder name of its own.";
    if (!trimmedName.empty() && trimmedName.front() == '.')
        return quoted + "cannot be used: a name beginning with \".\" is not listed as a user.";
    for (const char c : trimmedName) {
        if (c == '/' || c == '\\')
            return quoted + "cannot be used: it may not contain \"/\" or \"\\\".";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "The user name cannot be used: it may not contain control characters.";
    }
    return {};
}

TUser::TUser(const std::string& name, TUsers& users) : Name(TrimName(name))
{
    if (Name.empty())
        throw std::runtime_error("FB1904EA");
    if (const std::string problem = CheckName(Name); !problem.empty())
        throw std::invalid_argument(problem);
    UsersFolder = users.GetFolder();
    std::error_code ec;
    // A folder that cannot be made is no error here: the settings then read
    // as defaults, and saving the statistics reports its own failure.
    if (!fs::is_directory(GetFolder(), ec))
        fs::create_directories(GetFolder(), ec);
    ProfileOptions =
        std::make_unique<TIniOptions>((fs::path(GetFolder()) / "Profile.ini").string(), true);
    users.Refresh();
}

TUser::~TUser() = default;

std::string TUser::GetFolder() const
{
    return (fs::path(UsersFolder) / Name).string();
}

std::string TUser::GetLanguage() const
{
    return TrimName(Language);
}
