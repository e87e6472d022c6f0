#include "model/BinaryFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

TBinaryFile::~TBinaryFile()
{
    if (Handle)
        Close();
}

bool TBinaryFile::Open(const std::string& name, int mode)
{
    if (Handle) {
        ErrorText = "Anover file is opened now!";
        return false;
    }
    if (mode == 0)
        mode = Binary | ReadWrite | Create;
    FileName = name;

    std::error_code ec;
    const bool exists = fs::exists(name, ec);
    const int access = mode & 0x3;
    if (exists && access != ReadOnly) {
        // The file gets plain attributes first, so that a read-only file can
        // be written.
        fs::permissions(name, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, ec);
    }

    const char* how = "rb";
    if (access == WriteOnly)
        how = (mode & Create) && !exists ? "wb" : "r+b";
    else if (access == ReadWrite)
        how = (mode & Create) && !exists ? "w+b" : "r+b";

    errno = 0;
    Handle = std::fopen(name.c_str(), how);
    if (!Handle) {
        const int err = errno;
        FileName.clear();
        ErrorText = "Open error - " + std::string(std::strerror(err ? err : ENOENT));
        return false;
    }
    return true;
}

bool TBinaryFile::Close()
{
    if (Handle)
        std::fclose(Handle);
    Handle = nullptr;
    FileName.clear();
    return true;
}

long long TBinaryFile::Size()
{
    if (!Handle) {
        ErrorText = "File not opened!";
        return 0;
    }
    const long pos = std::ftell(Handle);
    std::fseek(Handle, 0, SEEK_END);
    const long size = std::ftell(Handle);
    std::fseek(Handle, pos, SEEK_SET);
    return size;
}

long long TBinaryFile::Position()
{
    if (!Handle) {
        ErrorText = "File not opened!";
        return 0;
    }
    return std::ftell(Handle);
}

bool TBinaryFile::Eof()
{
    if (!Handle) {
        ErrorText = "File not opened!";
        return false;
    }
    return Position() >= Size();
}

bool TBinaryFile::Read(void* buffer, long long n, long long* got)
{
    if (got)
        *got = 0;
    if (!Handle) {
        ErrorText = "File not opened!";
        return false;
    }
    errno = 0;
    const size_t read = std::fread(buffer, 1, static_cast<size_t>(n), Handle);
    if (got)
        *got = static_cast<long long>(read);
    if (read < static_cast<size_t>(n) && std::ferror(Handle)) {
        const int err = errno;
        ErrorText = "Read error - " + std::string(std::strerror(err ? err : EIO));
        std::clearerr(Handle);
        return false;
    }
    return true;
}
