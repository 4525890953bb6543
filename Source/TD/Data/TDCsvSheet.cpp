#include "Source/TD/Data/TDCsvSheet.h"

#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Source/TD/Data/TDUtil.h"

#include <algorithm>
#include <tinyxml2.h>
#include <vector>

namespace
{
std::vector<std::string> splitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true)
    {
        const std::size_t found = line.find(';', start);
        if (found == std::string::npos)
        {
            fields.push_back(trimBlanks(line.substr(start)));
            return fields;
        }
        fields.push_back(trimBlanks(line.substr(start, found - start)));
        start = found + 1;
    }
}

// One line's text ready for splitting: trimmed; a data row's decimal commas become points; then one
// trailing carriage return goes and the line is trimmed again.
std::string prepareLine(std::string line, bool row)
{
    line = trimBlanks(line);
    if (row)
        std::replace(line.begin(), line.end(), ',', '.');
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return trimBlanks(line);
}

bool hasColumn(const std::vector<std::string>& columns, const char* name)
{
    return std::find(columns.begin(), columns.end(), name) != columns.end();
}

// The columns of the prototype sheets that hold text; every other one is a number (flags are numbers or
// the words "true" and "false").
bool isTextColumn(const std::string& column)
{
    static const char* const kText[] = {"name",   "psd",    "img",   "special", "fillColor",
                                        "onFire", "onAmmo", "onHit", "addons"};
    return std::any_of(std::begin(kText), std::end(kText), [&](const char* text) { return column == text; });
}

bool isNumberField(const std::string& field)
{
    float value = 0.0f;
    return field.empty() || readLeadingFloat(field.c_str(), &value) || field == "true" || field == "false";
}
} // namespace

tinyxml2::XMLElement* findElementById(int id, tinyxml2::XMLElement* section)
{
    if (!section)
        return nullptr;
    for (tinyxml2::XMLElement* e = section->FirstChildElement(); e; e = e->NextSiblingElement())
    {
        if (leadingInt(e->Attribute("id")) == id)
            return e;
    }
    return nullptr;
}

void parseCsvSheet(const std::string& text, tinyxml2::XMLElement* section, const std::wstring& name)
{
    if (!section)
        return;
    tinyxml2::XMLDocument* document = section->GetDocument();
    const std::string whole = trimBlanks(text);

    std::vector<std::string> columns;
    bool haveHeader = false;
    int lineNumber = 0;
    int rows = 0;
    std::size_t start = 0;
    while (start <= whole.size())
    {
        std::size_t end = whole.find('\n', start);
        if (end == std::string::npos)
            end = whole.size();
        const std::string raw = whole.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        // A line holding only a carriage return is as blank as an empty one, so that a sheet with CR LF line
        // ends reads like the same sheet with LF line ends.
        const std::string line = prepareLine(raw, haveHeader);
        if (line.empty())
            continue;

        if (!haveHeader)
        {
            columns = splitFields(line);
            haveHeader = true;
            if (!hasColumn(columns, "id") || !hasColumn(columns, "psd"))
                logDataProblem(name, L"the header line lacks the \"id\" or the \"psd\" column");
            continue;
        }

        const std::vector<std::string> fields = splitFields(line);
        tinyxml2::XMLElement* row = document->NewElement("unit");
        ++rows;
        const std::size_t named = std::min(fields.size(), columns.size());
        for (std::size_t i = 0; i < named; ++i)
        {
            // A column without a name cannot be asked for; its field is not kept.
            if (columns[i].empty())
                continue;
            row->SetAttribute(columns[i].c_str(), fields[i].c_str());
            if (!isTextColumn(columns[i]) && !isNumberField(fields[i]))
                logDataProblem(
                    name, L"line " + std::to_wstring(lineNumber) + L" has \"" +
                              base::ToWide(fields[i], base::kEncodingUtf8) + L"\" in the number column " +
                              base::ToWide(columns[i], base::kEncodingUtf8) + L"; its default is used");
        }
        if (fields.size() < columns.size())
            logDataProblem(name,
                           L"line " + std::to_wstring(lineNumber) +
                               L" has fewer fields than the header has columns; the missing ones take their "
                               L"defaults");
        // Fields past the last column have no name: they are dropped, and said when they hold anything.
        for (std::size_t i = named; i < fields.size(); ++i)
        {
            if (!fields[i].empty())
            {
                logDataProblem(name, L"line " + std::to_wstring(lineNumber) +
                                         L" has more fields than the header has columns; the extra ones "
                                         L"are dropped");
                break;
            }
        }

        int parent = -1;
        tinyxml2::XMLElement* holder = nullptr;
        if (readLeadingInt(row->Attribute("parent"), &parent) && parent != -1)
        {
            holder = findElementById(parent, section);
            // A parent further down, a branch, the row itself or a cycle: the row stands on its own.
            if (!holder)
                logDataProblem(name, L"line " + std::to_wstring(lineNumber) + L" names the parent " +
                                         std::to_wstring(parent) +
                                         L", which is no earlier top-level row; it stands on its own");
        }
        (holder ? holder : section)->InsertEndChild(row);
    }
    if (!haveHeader)
        logDataProblem(name, L"empty; it gives no rows");
    else if (rows == 0)
        logDataProblem(name, L"holds a header but no rows");
}

void readCsvSheet(const std::string& path, tinyxml2::XMLElement* section)
{
    const std::wstring widePath = base::ToWide(path, base::kEncodingUtf8);
    const std::string text = readGameTextFile(widePath, true);
    // A missing sheet has had its line already.
    if (text.empty() && !file::FileManager::Instance()->Exists(widePath))
        return;
    parseCsvSheet(text, section, widePath);
}
