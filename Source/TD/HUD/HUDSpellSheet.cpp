#include "Source/TD/HUD/HUDSpellSheet.h"

#include "Framework/GameApplication.h"
#include "Core/Render/Image.h"
#include "Source/TD/TDUtil.h"

#include <cstdlib>

namespace
{
std::vector<std::string> splitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t end = line.find(';', start);
        fields.push_back(trimBlanks(line.substr(start, end == std::string::npos ? std::string::npos : end - start)));
        if (end == std::string::npos)
            return fields;
        start = end + 1;
    }
}

render::Image* loadIcon(const std::string& path)
{
    framework::GameApplication* application = framework::GetGameApplication();
    if (path.empty() || !application)
        return nullptr;
    return application->LoadTexture(std::wstring(path.begin(), path.end()), nullptr);
}
} // namespace

HUDSpellSheet::HUDSpellSheet()
{
    const std::string text = readGameTextFile(L"td/spells_sheet.csv", true);
    forEachSheetLine(text,
                     [this](int, const std::string& line)
                     {
                         const std::vector<std::string> fields = splitFields(line);
                         if (fields.empty() || fields[0] == "#")
                             return;
                         HUDSpellRow row;
                         row.protoId = fields.size() > 1 ? std::atoi(fields[1].c_str()) : 0;
                         row.spellId = fields.size() > 4 ? std::atoi(fields[4].c_str()) : 0;
                         row.icon = loadIcon(fields.size() > 2 ? fields[2] : std::string());
                         row.shade = loadIcon(fields.size() > 3 ? fields[3] : std::string());
                         mRows.push_back(row);
                     });
}

HUDSpellSheet::~HUDSpellSheet()
{
    for (HUDSpellRow& row : mRows)
    {
        delete row.icon;
        delete row.shade;
    }
}

const HUDSpellRow* HUDSpellSheet::findById(int spellId) const
{
    for (const HUDSpellRow& row : mRows)
        if (row.spellId == spellId)
            return &row;
    return nullptr;
}
