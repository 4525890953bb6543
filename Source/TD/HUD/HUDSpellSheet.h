#pragma once

#include <string>
#include <vector>

namespace render
{
class Image;
}

// One spell as the HUD's buttons show it: the prototype that carries its numbers, the icon and the shade
// drawn over the icon while it recharges.
struct HUDSpellRow
{
    int protoId = 0;
    int spellId = 0;
    // Owned by the sheet; null when the picture cannot be loaded.
    render::Image* icon = nullptr;
    render::Image* shade = nullptr;
};

// The rows of "td/spells_sheet.csv" ("#" in the first field skips a line; then prototype id, icon path, shade
// path and spell id), with both pictures loaded. A sheet that cannot be read gives no rows, so no spell gets a
// button.
class HUDSpellSheet
{
public:
    HUDSpellSheet();
    ~HUDSpellSheet();
    HUDSpellSheet(const HUDSpellSheet&) = delete;
    HUDSpellSheet& operator=(const HUDSpellSheet&) = delete;

    // The first row of the spell id; null when none.
    const HUDSpellRow* findById(int spellId) const;
    const std::vector<HUDSpellRow>& getRows() const { return mRows; }

private:
    std::vector<HUDSpellRow> mRows;
};
