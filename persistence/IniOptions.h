#pragma once

#include "common/Colors.h"

#include <stdexcept>
#include <string>

// A stored text that is not a number of the kind asked for.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The settings store of a window or of the program, bound to one INI file for
// its whole life. Every call reads (or writes) the file anew.
//
// A read that finds no value, or an empty one, returns the caller's default
// and, when the store is writable, writes that default into the file at once,
// so a settings file lists every setting the program has asked for.
//
// Reads and writes never throw for file trouble: they record it in
// GetLastError() ("Error while inifile reading", "Error while inifile
// writing", "Can't save default value"), which is empty after a call that
// succeeded. The typed reads throw EConvertError when the stored text is not
// a number.
class TIniOptions {
public:
    TIniOptions(std::string fileName, bool writable);

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue);
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    // Decimal, or hexadecimal after a leading "$" (or "0x").
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue);
    void WriteInteger(const std::string& section, const std::string& key, int value);

    // Accepts "." as well as the locale's decimal separator. No write.
    double ReadFloat(const std::string& section, const std::string& key, double defaultValue);

    // Stored as "1" or "0"; any integer other than 0 reads as true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Written as "$" and at least six upper-case hexadecimal digits (0x00BBGGRR);
    // a missing value is filled with the default in decimal. Both forms read.
    TColor ReadColor(const std::string& section, const std::string& key, TColor defaultValue);
    void WriteColor(const std::string& section, const std::string& key, TColor value);

    const std::string& GetFileName() const { return FileName; }
    bool IsWritable() const { return Writable; }
    const std::string& GetLastError() const { return LastError; }

    // The decimal separator of the user's locale, or the one set for tests
    // (0 restores the locale's).
    static char DecimalSeparator();
    static void SetDecimalSeparator(char separator);

    // The conversions of the store, usable on their own.
    static int TextToInteger(const std::string& text);
    static double TextToFloat(const std::string& text);
    static std::string FloatToText(double value);
    static std::string ColorToText(TColor value);

private:
    bool Writable;
    std::string FileName;
    std::string LastError;
};
