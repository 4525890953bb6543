#pragma once

#include "Core/Base/Singleton.h"

#include <map>
#include <string>

// Every text the player reads, by key, from "td/strings_en.csv" (UTF-8; "key;text" per line, the two
// characters backslash and n standing for a line break). A key the sheet lacks reads "???" and, while the
// loose sheet file exists, is appended to it once per run so that it can be filled in.
class LocalStrings : public base::Singletone<LocalStrings>
{
public:
    // Loads "td/strings_en.csv".
    LocalStrings();

    // Asks for missing keys to be appended through the file manager.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    // Adds the lines of a sheet (a key given again takes the later text). A missing file adds nothing.
    void load(const std::wstring& path);
    // Adds the lines of a sheet already read into text.
    void parse(const std::string& text);

    // The key's text with its line breaks; "???" for a missing key.
    std::wstring get(const std::wstring& key);

    static constexpr const wchar_t* kSheet = L"td/strings_en.csv";

private:
    // Appends "key;???" as a line of the loose sheet when it exists (never through the pack).
    static void appendMissing(const std::wstring& key);

    std::map<std::wstring, std::wstring> mStrings;
};
