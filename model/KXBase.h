#pragma once

#include "model/Alphabet.h"
#include "model/BaseFormat.h"
#include "model/DSStructure.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A text field of the header: a length byte, then up to 255 characters.
struct TShortText {
    std::uint8_t Bytes[256];

    std::string Get() const;
    void Set(const std::string& text); // longer texts are cut at 255 bytes
};

#pragma pack(push, 1)
// The header of a base file, kept byte for byte as read.
struct TKXBaseParameters {
    TKXBaseParameters();

    TShortText LanguageName;
    TAlphabet Alphabet;
    TShortText ReservedTexts[6];
    std::uint8_t Padding[3];
    std::int32_t Depth;
    TShortText ReservedText;
};
#pragma pack(pop)

static_assert(sizeof(TKXBaseParameters) == BaseFormat::HeaderSize);
static_assert(offsetof(TKXBaseParameters, Alphabet) == 256);
static_assert(offsetof(TKXBaseParameters, Depth) == 2308);
static_assert(offsetof(TKXBaseParameters, ReservedText) == 2312);

// The statistical model of one language: the tree of character sequences of
// up to Depth characters with their occurrence counts, and the alphabet.
class TKXBase {
public:
    using TProgressEvent = std::function<void(int percent)>;

    TKXBase();
    ~TKXBase();
    TKXBase(const TKXBase&) = delete;
    TKXBase& operator=(const TKXBase&) = delete;

    // Reads a base file. On failure returns false with ErrorText naming the
    // file and the problem; the tree, Parameters and Name stay as they were.
    bool Load(const std::string& path);

    const std::string& Name() const { return BaseName; }
    const std::string& ErrorText() const { return LastError; }
    const TKXBaseParameters& Parameters() const { return Header; }
    TBaseStructure* Root() const { return RootElement.get(); }
    int Depth() const { return Header.Depth; }
    const TAlphabet& Alphabet() const { return Header.Alphabet; }

    TProgressEvent OnProgress;

private:
    bool Fail(const std::string& path, const std::string& problem);

    std::string BaseName;
    std::string LastError;
    TKXBaseParameters Header;
    struct TRootDeleter {
        void operator()(TBaseStructure* root) const { delete root; }
    };
    std::unique_ptr<TBaseStructure, TRootDeleter> RootElement;
};
