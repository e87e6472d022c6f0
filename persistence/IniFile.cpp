#include "persistence/IniFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// A name for the temporary file that no other writer in this or another
// process picks at the same moment (creation is exclusive anyway).
std::string TemporaryName(const fs::path& target, int attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::ostringstream name;
    name << '.' << target.filename().string() << '.' << std::hex << (ticks & 0xFFFFFF) << '-'
         << counter++ << '-' << attempt << ".tmp";
    return name.str();
}

enum class TCreateResult { Written, NameTaken, Failed };

// Creates a new file exclusively and writes the text into it. A file that
// was created but not written completely is removed again.
TCreateResult WriteNewFile(const fs::path& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (!file)
        return errno == EEXIST ? TCreateResult::NameTaken : TCreateResult::Failed;
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::error_code ec;
        fs::remove(path, ec);
        return TCreateResult::Failed;
    }
    return TCreateResult::Written;
}

// The file a write must replace: the target of a symbolic link rather than
// the link itself.
fs::path WriteTarget(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_symlink(path, ec)) {
        const fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec)
            return resolved;
    }
    return path;
}
} // namespace

TIniFile::TIniFile(std::string fileName) : FileName(std::move(fileName)) {}

bool TIniFile::Load(TIniDocument& document) const
{
    std::error_code ec;
    const fs::file_status status = fs::status(FileName, ec);
    if (status.type() == fs::file_type::not_found) {
        document = TIniDocument();
        return true;
    }
    if (ec || status.type() != fs::file_type::regular)
        return false;
    std::ifstream in(FileName, std::ios::binary);
    if (!in)
        return false;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return false;
    document = TIniDocument(text);
    return true;
}

bool TIniFile::Save(const TIniDocument& document) const
{
    const fs::path target = WriteTarget(FileName);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return false;

    const fs::file_status status = fs::status(target, ec);
    const bool exists = status.type() != fs::file_type::not_found;
    if (exists) {
        if (status.type() != fs::file_type::regular)
            return false;
        // A file we may not write keeps its text, although the folder would
        // let a rename replace it.
        std::FILE* probe = std::fopen(target.c_str(), "r+b");
        if (!probe)
            return false;
        std::fclose(probe);
    }

    const std::string text = document.Text();
    fs::path temporary;
    TCreateResult created = TCreateResult::NameTaken;
    for (int attempt = 0; attempt < 8 && created == TCreateResult::NameTaken; ++attempt) {
        temporary = folder / TemporaryName(target, attempt);
        created = WriteNewFile(temporary, text);
    }
    if (created != TCreateResult::Written)
        return false;
    if (exists)
        fs::permissions(temporary, status.permissions(), fs::perm_options::replace, ec);
    if (!Replace(temporary, target)) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

bool TIniFile::Replace(const fs::path& temporary, const fs::path& target) const
{
    std::error_code ec;
    fs::rename(temporary, target, ec);
    return !ec;
}

bool TIniFile::ReadValue(const std::string& section, const std::string& key,
                         std::string& value) const
{
    TIniDocument document;
    if (!Load(document))
        return false;
    value = document.Find(section, key).value_or(std::string());
    return true;
}

bool TIniFile::WriteValue(const std::string& section, const std::string& key,
                          const std::string& value) const
{
    TIniDocument document;
    if (!Load(document))
        return false;
    if (!document.Set(section, key, value))
        return false;
    return Save(document);
}
