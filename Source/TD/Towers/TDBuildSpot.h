#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class TDAttributes;
class TDFrameEntry;

// A place of a level where a tower can stand: its prices (money and gems), its picture type, its position and
// its named attributes, among them the tower multipliers "radius_mult", "damage_mult" and "income_mult" and a
// tower built there when the level starts ("tower_id"). A spot that costs nothing is owned from the start;
// the others are bought.
class TDBuildSpot
{
public:
    // The attribute table of the element's children, then the prices and type (truncated), "x" and "y"
    // (0 when absent or no usable number), owned when both prices are 0. source names the level in warnings.
    TDBuildSpot(const tinyxml2::XMLElement& element, const std::wstring& source);
    TDBuildSpot(const TDBuildSpot&) = delete;
    TDBuildSpot& operator=(const TDBuildSpot&) = delete;
    // Frees the attributes; the icons belong to the level art.
    ~TDBuildSpot();

    // Appends one spot for the first child named "spot" and for every element after it, whatever its name.
    static void loadList(std::vector<TDBuildSpot*>& list, const tinyxml2::XMLElement* spots,
                         const std::wstring& source);

    // The attribute's value; 0 for one the spot lacks.
    float getFloat(const std::string& name);

    int mCostGold = 0;
    int mCostReal = 0;
    int mType = 0;
    std::unique_ptr<TDAttributes> mAttributes;
    // The boost icons under the spot; not owned.
    std::vector<TDFrameEntry*> mIcons;
    float mX = 0.0f;
    float mY = 0.0f;
    bool mOwned = false;
};

// Deletes every spot of the list and empties it.
void deleteSpotList(std::vector<TDBuildSpot*>& list);
