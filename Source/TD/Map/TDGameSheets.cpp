#include "Source/TD/Map/TDGameSheets.h"

#include "Source/TD/Data/TDCsvSheet.h"
#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Sprites/TDResources.h"

#include <tinyxml2.h>

namespace
{
// Holds nothing: every question goes to the registry singleton.
class RegistrySheets : public TDSpriteSheetSource
{
public:
    TDSpriteSheet* getSheet(const tinyxml2::XMLElement& element) override
    {
        return TDResources::Instance()->getSheet(element);
    }
};
// The walking speed of a unit row whose own is unusable: about the pace of the slower demo units.
constexpr float kFallbackUnitSpeed = 40.0f;

// A unit that does not walk never reaches the goal and is never killed by anything that waits for it: the
// level could not end. Rows whose speed is no positive number walk at the fallback speed; a speed that is no
// number at all had its line from the sheet reader.
void mendUnitSpeeds(tinyxml2::XMLElement& section, const std::wstring& path)
{
    for (tinyxml2::XMLElement* row = section.FirstChildElement(); row; row = row->NextSiblingElement())
    {
        for (tinyxml2::XMLElement* unit = row; unit;
             unit = unit == row ? row->FirstChildElement() : unit->NextSiblingElement())
        {
            const char* text = unit->Attribute("speed");
            float speed = 0.0f;
            const bool number = text && readLeadingFloat(text, &speed);
            if (number && speed > 0.0f)
                continue;
            if (number || !text || *text == '\0')
                logDataProblem(path, L"unit " + std::to_wstring(leadingInt(unit->Attribute("id"))) +
                                         L" has no positive speed; it walks at " +
                                         std::to_wstring(static_cast<int>(kFallbackUnitSpeed)));
            unit->SetAttribute("speed", kFallbackUnitSpeed);
        }
    }
}
} // namespace

TDSpriteSheetSource* registrySheets()
{
    static RegistrySheets sheets;
    return &sheets;
}

TDSheetSettings loadGameSheets(TDProtoTable& table, TDEpisodeTable& episodes, TDSpriteSheetSource* sheets)
{
    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* data = document.NewElement("data");
    document.InsertEndChild(data);
    tinyxml2::XMLElement* towers = document.NewElement("towers");
    tinyxml2::XMLElement* units = document.NewElement("units");
    tinyxml2::XMLElement* ammo = document.NewElement("ammo");
    readCsvSheet("td/towers_sheet.csv", towers);
    readCsvSheet("td/units_sheet.csv", units);
    mendUnitSpeeds(*units, L"td/units_sheet.csv");
    readCsvSheet("td/ammo_sheet.csv", ammo);
    data->InsertEndChild(towers);
    data->InsertEndChild(units);
    data->InsertEndChild(ammo);

    table.clear();
    table.load(data, sheets);
    episodes.load(L"td/setup_sheet.csv");
    return TDSheetSettings();
}
