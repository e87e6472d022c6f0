#include "common/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {
// A name for the temporary file that no other writer in this or another
// process picks at the same moment (creation is exclusive anyway).
fs::path TemporaryName(const fs::path& folder, const fs::path& target, int attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::ostringstream name;
    name << '.' << target.filename().string() << '.' << std::hex << (ticks & 0xFFFFFF) << '-'
         << counter++ << '-' << attempt << ".tmp";
    return folder / name.str();
}

enum class TCreateResult { Written, NameTaken, Failed };

// Creates a new file exclusively and writes the bytes into it, down to the
// disk. A file that was created but not written completely is removed again.
TCreateResult WriteNewFile(const fs::path& path, const std::string& bytes, int& error)
{
    std::FILE* file = std::fopen(path.string().c_str(), "wbx");
    if (!file) {
        error = errno;
        return error == EEXIST ? TCreateResult::NameTaken : TCreateResult::Failed;
    }
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
#ifndef _WIN32
    ok = fsync(fileno(file)) == 0 && ok;
#endif
    error = errno;
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

bool RenameOver(const fs::path& temporary, const fs::path& target)
{
    std::error_code ec;
    fs::rename(temporary, target, ec);
    return !ec;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error,
                         const TReplaceStep& replace)
{
    const fs::path target = WriteTarget(path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error = "Can't write " + path + ": the folder " + folder.string() + " does not exist";
        return false;
    }
    const fs::file_status status = fs::status(target, ec);
    const bool exists = status.type() != fs::file_type::not_found;
    if (exists && status.type() != fs::file_type::regular) {
        error = "Can't write " + path + ": it is not a plain file";
        return false;
    }
    if (exists) {
        // A file we may not write keeps its text, although the folder would
        // let a rename replace it.
        std::FILE* probe = std::fopen(target.string().c_str(), "r+b");
        if (!probe) {
            error = "Can't write " + path + ": " + std::strerror(errno);
            return false;
        }
        std::fclose(probe);
    }

    fs::path temporary;
    int err = 0;
    TCreateResult created = TCreateResult::NameTaken;
    for (int attempt = 0; attempt < 8 && created == TCreateResult::NameTaken; ++attempt) {
        temporary = TemporaryName(folder, target, attempt);
        created = WriteNewFile(temporary, bytes, err);
    }
    if (created != TCreateResult::Written) {
        error = "Can't write " + path + ": " + std::strerror(err ? err : EIO);
        return false;
    }
    if (exists)
        fs::permissions(temporary, status.permissions(), fs::perm_options::replace, ec);
    if (!(replace ? replace(temporary, target) : RenameOver(temporary, target))) {
        fs::remove(temporary, ec);
        error = "Can't write " + path + ": the new file could not take the old one's place";
        return false;
    }
    return true;
}
