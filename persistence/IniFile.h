#pragma once

#include "persistence/IniDocument.h"

#include <filesystem>
#include <string>

// One INI file on disk. Every call is complete in itself: the file is read
// (and written) and closed again, so nothing is cached between calls and two
// objects on the same file see each other's writes.
//
// A write never leaves a half-written file: the new text goes to a temporary
// file in the same folder, which then replaces the old file by a rename. A
// file that exists but cannot be read or written is left exactly as it was.
class TIniFile {
public:
    explicit TIniFile(std::string fileName);
    virtual ~TIniFile() = default;

    const std::string& GetFileName() const { return FileName; }

    // The whole file. A missing file gives an empty document; false when the
    // file exists but cannot be read (then document is left untouched).
    bool Load(TIniDocument& document) const;
    // Replaces the file with the document's text; false when that fails.
    bool Save(const TIniDocument& document) const;

    // One value (see TIniDocument::Find); a missing file, section or key gives
    // an empty value. False when the file exists but cannot be read.
    bool ReadValue(const std::string& section, const std::string& key, std::string& value) const;
    // Loads the file, sets one value and saves it. False when the file cannot
    // be read or written; the file is then unchanged.
    bool WriteValue(const std::string& section, const std::string& key,
                    const std::string& value) const;

protected:
    // The last step of Save: puts the finished temporary file in place of the
    // target. Tests override it to fail or to stop between the two steps.
    virtual bool Replace(const std::filesystem::path& temporary,
                         const std::filesystem::path& target) const;

private:
    std::string FileName;
};
