// A command-line look at the training model: loads a language base and prints
// task texts of every level. Without a file it takes the English base beside
// the program; --sample writes a small base from a built-in text instead.
//
//   kexora-demo [BASE_FILE | --sample] [--texts N] [--length N]

#include "common/CodePage.h"
#include "common/Random.h"
#include "model/BaseWriter.h"
#include "model/KXBase.h"
#include "model/KXGenerator.h"
#include "platform/Folders.h"

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

namespace fs = std::filesystem;

namespace {
const char* const SampleText =
    "It is a truth universally acknowledged, that a single man in possession of a good "
    "fortune, must be in want of a wife. However little known the feelings or views of such "
    "a man may be on his first entering a neighbourhood, this truth is so well fixed in the "
    "minds of the surrounding families, that he is considered the rightful property of some "
    "one or other of their daughters. My dear Mr. Bennet, said his lady to him one day, have "
    "you heard that Netherfield Park is let at last? Mr. Bennet replied that he had not. But "
    "it is, returned she; for Mrs. Long has just been here, and she told me all about it.";

// Counts every 4-character window of the text and writes a base.
std::string WriteSampleBase(std::string& error)
{
    const std::string text = SampleText;
    std::map<std::string, long long> counts;
    for (std::size_t i = 0; i + 4 <= text.size(); ++i)
        ++counts[text.substr(i, 4)];

    TKXBaseParameters header;
    header.LanguageName.Set("Sample");
    header.Depth = 4;
    for (unsigned char ch : text) {
        const unsigned char canonical = static_cast<unsigned char>(std::tolower(ch));
        if (header.Alphabet.IndexOf(canonical) == 0)
            header.Alphabet.SetIndex(canonical,
                                     static_cast<std::uint8_t>(header.Alphabet.AddChar(canonical)));
        header.Alphabet.SetIndex(ch, static_cast<std::uint8_t>(header.Alphabet.IndexOf(canonical)));
    }
    const std::string path = (fs::temp_directory_path() / "Sample.Base").string();
    if (!WriteBaseFile(path, header, RecordsFromCounts(counts), error))
        return std::string();
    std::cout << "Wrote " << path << " with the base writer (" << counts.size()
              << " sequences of 4 characters)\n";
    return path;
}
} // namespace

int main(int argc, char** argv)
{
    std::string path;
    bool sample = false;
    int texts = 3;
    int length = 78;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--texts" && i + 1 < argc)
            texts = std::atoi(argv[++i]);
        else if (arg == "--length" && i + 1 < argc)
            length = std::atoi(argv[++i]);
        else if (arg == "--sample")
            sample = true;
        else if (arg == "--help" || arg == "-h") {
            std::cout << "usage: kexora-demo [BASE_FILE | --sample] [--texts N] [--length N]\n";
            return 0;
        } else
            path = arg;
    }

    if (path.empty() && !sample) {
        const std::string shipped = ProgramFolder() + "Modules/Languages/English.Base";
        if (fs::exists(shipped))
            path = shipped;
    }
    if (path.empty()) {
        std::string error;
        path = WriteSampleBase(error);
        if (path.empty()) {
            std::cerr << error << "\n";
            return 1;
        }
    }

    TKXBase base;
    const auto started = std::chrono::steady_clock::now();
    if (!base.Load(path)) {
        std::cerr << base.ErrorText() << "\n";
        return 1;
    }
    const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started);
    const TCodePage& codePage = TCodePage::ForCharset(base.Alphabet().Charset());
    std::cout << "Base " << base.Name() << ": depth " << base.Depth() << ", "
              << base.Alphabet().Count() << " characters, " << base.Root()->Count
              << " sequences, code page " << codePage.Number() << ", loaded in " << ms.count()
              << " ms\n";

    TKXGenerator generator(&base);
    static const char* const names[] = {"", "level 1", "Hard and Deadly (level 2)",
                                        "Half and Halfer (level 3)", "Nice and Easy (level 4)"};
    for (int level = base.Depth(); level >= 1; --level) {
        generator.SetLevel(level);
        std::cout << "\n" << (level <= 4 ? names[level] : "level") << ":\n";
        for (int i = 0; i < texts; ++i) {
            const std::string text = generator.MakeText(length);
            if (text.empty()) {
                std::cerr << generator.ErrorText() << "\n";
                return 1;
            }
            std::cout << "  " << codePage.ToUtf8(text) << "\n";
        }
    }
    return 0;
}
