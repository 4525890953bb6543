#include "Source/TD/TDGameSheets.h"

#include "Source/TD/TDCsvSheet.h"
#include "Source/TD/TDEpisodeTable.h"
#include "Source/TD/TDProtoTable.h"
#include "Source/TD/TDResources.h"
#include "Source/TD/TDUnitProto.h"

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
    readCsvSheet("td/ammo_sheet.csv", ammo);
    data->InsertEndChild(towers);
    data->InsertEndChild(units);
    data->InsertEndChild(ammo);

    table.clear();
    table.load(data, sheets);
    episodes.load(L"td/setup_sheet.csv");
    return TDSheetSettings();
}
