#include "persistence/IniFile.h"

#include "common/AtomicFile.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

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
    std::string error;
    return WriteFileAtomically(FileName, document.Text(), error,
                               [this](const fs::path& temporary, const fs::path& target) {
                                   return Replace(temporary, target);
                               });
}

bool TIniFile::Replace(const fs::path& temporary, const fs::path& target) const
{
    return RenameOver(temporary, target);
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
