#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test.
class TTempFolder {
public:
    TTempFolder()
    {
        std::random_device device;
        const auto base = std::filesystem::temp_directory_path();
        do {
            Path = base / ("kx-persistence-" + std::to_string(device()));
        } while (!std::filesystem::create_directory(Path));
    }
    ~TTempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(Path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(Path, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& path() const { return Path; }
    std::string operator/(const std::string& name) const { return (Path / name).string(); }

private:
    std::filesystem::path Path;
};

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
