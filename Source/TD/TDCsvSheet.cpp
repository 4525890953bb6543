#include "Source/TD/TDCsvSheet.h"

#include "Core/Base/TextEncoding.h"
#include "Source/TD/TDUtil.h"

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
        const std::size_t named = std::min(fields.size(), columns.size());
        for (std::size_t i = 0; i < named; ++i)
        {
            // A column without a name cannot be asked for; its field is not kept.
            if (!columns[i].empty())
                row->SetAttribute(columns[i].c_str(), fields[i].c_str());
        }
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
            holder = findElementById(parent, section);
        (holder ? holder : section)->InsertEndChild(row);
    }
}

void readCsvSheet(const std::string& path, tinyxml2::XMLElement* section)
{
    const std::wstring widePath = base::ToWide(path, base::kEncodingUtf8);
    parseCsvSheet(readGameTextFile(widePath, true), section, widePath);
}
