#include "common/FindFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
char Fold(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool Search(std::string folder, const std::string& mask, bool recurse,
            std::vector<std::string>& list)
{
    if (!folder.empty() && folder.back() != static_cast<char>(fs::path::preferred_separator))
        folder.push_back(static_cast<char>(fs::path::preferred_separator));
    std::error_code ec;
    const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
    if (!fs::is_directory(dir, ec))
        return false;

    // Directory order is not defined on every file system: sort by name so
    // that the result does not depend on it.
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });

    if (recurse) {
        for (const auto& entry : entries) {
            std::error_code e;
            if (entry.is_directory(e))
                Search(folder + entry.path().filename().string(), mask, recurse, list);
        }
    }
    for (const auto& entry : entries) {
        std::error_code e;
        if (entry.is_directory(e))
            continue;
        const std::string name = entry.path().filename().string();
        if (MatchesMask(name, mask))
            list.push_back(folder + name);
    }
    return true;
}
} // namespace

bool MatchesMask(const std::string& name, const std::string& mask)
{
    // Iterative wildcard match with one backtrack point for the last '*'.
    size_t n = 0, m = 0, starM = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || Fold(mask[m]) == Fold(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool FindFiles(const std::string& folder, const std::string& mask, bool recurse,
               std::vector<std::string>& list)
{
    list.clear();
    return Search(folder, mask, recurse, list);
}
