#pragma once

#include <cstdio>
#include <string>

// A small file reader that reports failures through ErrorText.
class TBinaryFile {
public:
    // Open flags.
    static constexpr int ReadOnly = 0x0000;
    static constexpr int WriteOnly = 0x0001;
    static constexpr int ReadWrite = 0x0002;
    static constexpr int Create = 0x0100;
    static constexpr int Binary = 0x8000;

    TBinaryFile() = default;
    ~TBinaryFile();
    TBinaryFile(const TBinaryFile&) = delete;
    TBinaryFile& operator=(const TBinaryFile&) = delete;

    // mode 0 stands for binary, read-write, created if missing.
    bool Open(const std::string& name, int mode = 0);
    bool Close();
    bool IsOpen() const { return Handle != nullptr; }

    long long Size();
    long long Position();
    bool Eof();
    // Reads up to n bytes; *got (when given) receives the number read. A short
    // read at the end of the file is not a failure.
    bool Read(void* buffer, long long n, long long* got = nullptr);

    std::string ErrorText;
    std::FILE* Handle = nullptr;
    std::string FileName;
};
