#include "Source/TD/Data/LocalStrings.h"

#include "Core/Base/StringTokenizer.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileHandle.h"
#include "Core/File/FileManager.h"
#include "Source/TD/Data/TDUtil.h"

LocalStrings::LocalStrings()
{
    load(kSheet);
}

std::vector<base::SingletoneBase*> LocalStrings::GetDependencies()
{
    return {file::FileManager::Instance()};
}

void LocalStrings::load(const std::wstring& path)
{
    parse(readGameTextFile(path, true));
}

void LocalStrings::parse(const std::string& text)
{
    base::StringTokenizer<std::string> lines(text, '\n', true);
    std::string line;
    while (lines.Next(line))
    {
        base::StringTokenizer<std::string> fields(line, ';', false);
        std::string key;
        std::string value;
        fields.Next(key);
        fields.Next(value);
        if (!value.empty() && value.back() == '\r')
            value.pop_back();
        mStrings[base::ToWide(key, base::kEncodingUtf8)] = base::ToWide(value, base::kEncodingUtf8);
    }
}

void LocalStrings::appendMissing(const std::wstring& key)
{
    file::FileHandle sheet;
    if (sheet.Open(kSheet, 2, 2) != VN_OK)
        return;
    // A last line without its line break would swallow the new key.
    if (sheet.Size() > 0)
    {
        char last = '\n';
        sheet.Seek(-1, 2);
        sheet.Read(&last, 1, nullptr);
        if (last != '\n')
            sheet.Write("\n", 1, nullptr);
    }
    sheet.Seek(0, 2);
    const std::string line = base::ToNarrow(key, base::kEncodingUtf8) + ";???\r\n";
    sheet.Write(line.data(), static_cast<unsigned>(line.size()), nullptr);
    sheet.Close();
}

std::wstring LocalStrings::get(const std::wstring& key)
{
    auto found = mStrings.find(key);
    if (found == mStrings.end())
    {
        appendMissing(key);
        found = mStrings.emplace(key, L"???").first;
    }
    const std::wstring& stored = found->second;
    if (stored.size() <= 1 || stored.find(L'\\') == std::wstring::npos)
        return stored;
    std::wstring text;
    text.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i)
    {
        if (stored[i] == L'\\' && i + 1 < stored.size() && stored[i + 1] == L'n')
        {
            text.push_back(L'\n');
            ++i;
        }
        else
        {
            text.push_back(stored[i]);
        }
    }
    return text;
}
