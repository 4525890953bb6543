#pragma once

class TDEpisodeTable;
class TDProtoTable;
class TDSpriteSheetSource;

// The constants that come with the sheets.
struct TDSheetSettings
{
    float sellRatio = 0.5f; // the share of a tower's price that selling returns
    int newProfileGems = 0; // the gem count of a profile that has none yet
};

// The prototypes' sprite sheets from the sprite registry (TDResources).
TDSpriteSheetSource* registrySheets();

// The map's sheet loading, run when the map is made and at every level start: the towers, units and ammo
// sheets ("td/towers_sheet.csv", "td/units_sheet.csv", "td/ammo_sheet.csv", read in that order) replace the
// prototypes of table, then "td/setup_sheet.csv" updates the episode table. sheets hands out the prototypes'
// sprite sheets (null: none).
TDSheetSettings loadGameSheets(TDProtoTable& table, TDEpisodeTable& episodes,
                               TDSpriteSheetSource* sheets = registrySheets());
