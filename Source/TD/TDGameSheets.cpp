#include "Source/TD/TDGameSheets.h"

#include "Source/TD/TDCsvSheet.h"
#include "Source/TD/TDEpisodeTable.h"
#include "Source/TD/TDProtoTable.h"

#include <tinyxml2.h>

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
