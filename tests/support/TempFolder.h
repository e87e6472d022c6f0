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
            Folder = base / ("kx-test-" + std::to_string(device()));
        } while (!std::filesystem::create_directory(Folder));
    }
    ~TTempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(Folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(Folder, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return Folder; }
    // The path of a file or folder inside.
    std::string File(const std::string& name) const { return (Folder / name).string(); }
    std::string operator/(const std::string& name) const { return File(name); }

private:
    std::filesystem::path Folder;
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
