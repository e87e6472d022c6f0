#include "persistence/Users.h"

#include "common/Random.h"
#include "platform/Folders.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {
bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string WithoutTrailingSeparator(std::string path)
{
    while (path.size() > 1 && path.back() == static_cast<char>(fs::path::preferred_separator))
        path.pop_back();
    return path;
}
} // namespace

TUsers::TUsers() : TUsers(DefaultCandidates()) {}

TUsers::TUsers(const std::vector<std::string>& candidates)
{
    for (const std::string& candidate : candidates) {
        if (IsUsableFolder(candidate)) {
            Folder = WithoutTrailingSeparator(candidate);
            break;
        }
    }
    if (Folder.empty())
        throw std::runtime_error("629EC837");
    Refresh();
}

std::vector<std::string> TUsers::DefaultCandidates()
{
    return {(fs::path(ProgramFolder()) / "Users").string(),
            (fs::path(UserDataFolder()) / "Kexora" / "Users").string()};
}

bool TUsers::IsUsableFolder(const std::string& folder)
{
    if (folder.empty())
        return false;
    std::error_code ec;
    fs::create_directories(folder, ec); // a failure shows in the tests below
    if (!fs::is_directory(folder, ec))
        return false;
    // An existing folder of the probe's name proves nothing and is not ours
    // to remove: draw another name.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path probe =
            fs::path(folder) / ("~" + std::to_string(SharedRandom().Next()) + "~");
        if (fs::exists(probe, ec))
            continue;
        if (!fs::create_directory(probe, ec) || ec)
            return false;
        fs::remove(probe, ec);
        return true;
    }
    return false;
}

void TUsers::Refresh()
{
    Names.clear();
    std::error_code ec;
    for (fs::directory_iterator it(Folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.empty() || name.front() == '.' || !it->is_directory(typeError))
            continue;
        Names.push_back(name);
    }
    std::sort(Names.begin(), Names.end(), LessIgnoringCase);
}
