#include "model/KXBase.h"

#include "model/BinaryFile.h"

#include <bit>
#include <climits>
#include <cstring>
#include <filesystem>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "base files are little-endian; add a byte swap for this platform");

std::string TShortText::Get() const
{
    return std::string(reinterpret_cast<const char*>(Bytes + 1), Bytes[0]);
}

void TShortText::Set(const std::string& text)
{
    std::memset(Bytes, 0, sizeof Bytes);
    const std::size_t n = text.size() < 255 ? text.size() : 255;
    Bytes[0] = static_cast<std::uint8_t>(n);
    std::memcpy(Bytes + 1, text.data(), n);
}

TKXBaseParameters::TKXBaseParameters() : Alphabet(0), Depth(4)
{
    LanguageName.Set("English");
    for (TShortText& t : ReservedTexts)
        t.Set("");
    std::memset(Padding, 0, sizeof Padding);
    ReservedText.Set("");
}

TKXBase::TKXBase() : RootElement(new TBaseStructure(nullptr, etElement)) {}

TKXBase::~TKXBase() = default;

bool TKXBase::Fail(const std::string& path, const std::string& problem)
{
    LastError = "Language base " + path + ": " + problem;
    return false;
}

namespace {
// Checks what the generator relies on (every leaf at level depth, every count
// positive) and sums the leaf counts into the inner elements, in one pass.
// Recursion follows the levels, which a byte limits to 255.
bool Summarise(TBaseStructure* e, int depth, long long& total, std::string& problem)
{
    if (!e->Child) {
        if (e->Level != depth) {
            problem = "a sequence ends at level " + std::to_string(e->Level) +
                      " instead of the depth " + std::to_string(depth);
            return false;
        }
        if (e->Count <= 0) {
            problem = "a sequence has the count " + std::to_string(e->Count) +
                      "; counts must be positive";
            return false;
        }
        total = e->Count;
        return true;
    }
    long long sum = 0;
    for (TBaseStructure* c = e->ChildElement(); c; c = c->NextElement()) {
        long long part = 0;
        if (!Summarise(c, depth, part, problem))
            return false;
        sum += part;
        if (sum > INT_MAX) {
            problem = "the counts add up to more than 2147483647";
            return false;
        }
    }
    e->Count = static_cast<std::int32_t>(sum);
    total = sum;
    return true;
}
} // namespace

bool TKXBase::Load(const std::string& path)
{
    TBinaryFile file;
    if (!file.Open(path, TBinaryFile::Binary | TBinaryFile::ReadOnly)) {
        LastError = file.ErrorText + " (" + path + ")";
        return false;
    }

    // One buffered pass: the whole file is read at once.
    const long long size = file.Size();
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size > 0 ? size : 0));
    long long got = 0;
    if (!data.empty() && !file.Read(data.data(), size, &got)) {
        LastError = file.ErrorText + " (" + path + ")";
        return false;
    }
    file.Close();
    if (got != size)
        return Fail(path, "the file could not be read to its end");

    if (OnProgress)
        OnProgress(0);

    if (data.size() < BaseFormat::HeaderSize)
        return Fail(path, "the file is " + std::to_string(data.size()) +
                              " bytes long, shorter than the header of " +
                              std::to_string(BaseFormat::HeaderSize) + " bytes");
    const std::size_t recordBytes = data.size() - BaseFormat::HeaderSize;
    if (recordBytes % BaseFormat::RecordSize != 0)
        return Fail(path, "the last record is cut short (" +
                              std::to_string(recordBytes % BaseFormat::RecordSize) + " of " +
                              std::to_string(BaseFormat::RecordSize) + " bytes)");

    TKXBaseParameters header;
    std::memcpy(&header, data.data(), BaseFormat::HeaderSize);
    if (header.Depth < 1)
        return Fail(path, "the depth " + std::to_string(header.Depth) + " is below 1");

    std::unique_ptr<TBaseStructure, TRootDeleter> root(new TBaseStructure(nullptr, etElement));
    TBaseStructure* current = root.get();
    const std::uint8_t* p = data.data() + BaseFormat::HeaderSize;
    const std::uint8_t* end = data.data() + data.size();
    std::size_t position = BaseFormat::HeaderSize;
    while (p < end) {
        const int level = static_cast<std::uint8_t>(p[0] ^ BaseFormat::LevelMask);
        const std::uint8_t ch = p[1] ^ BaseFormat::CharMask;
        std::int32_t count;
        std::memcpy(&count, p + 2, 4);
        p += BaseFormat::RecordSize;
        position += BaseFormat::RecordSize;

        if (level == current->Level) {
            current = static_cast<TBaseStructure*>(current->AddNext());
        } else if (level > current->Level) {
            current = static_cast<TBaseStructure*>(current->AddChild());
        } else {
            TBaseStructure* e = current;
            while (e && level < e->Level)
                e = e->LinkElement();
            if (!e)
                return Fail(path, "Level dismatch");
            current = static_cast<TBaseStructure*>(e->AddNext());
        }
        current->Count = count;
        current->Char = ch;

        if (OnProgress && position % 1024 == 0)
            OnProgress(static_cast<int>(position * 100 / data.size()));
    }

    if (root->Next)
        return Fail(path, "a record has the level 0");
    std::string problem;
    long long total = 0;
    if (root->Child && !Summarise(root.get(), header.Depth, total, problem))
        return Fail(path, problem);

    if (OnProgress)
        OnProgress(100);

    RootElement = std::move(root);
    Header = header;
    BaseName = std::filesystem::path(path).stem().string();
    LastError.clear();
    return true;
}
