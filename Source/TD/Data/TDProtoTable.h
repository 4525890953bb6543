#pragma once

#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class TDUnitProto;
class TDSpriteSheetSource;

// Every prototype of the running game: the top-level rows of the units, then the towers, then the ammunition
// sheet, each with its branches, looked up by id.
class TDProtoTable
{
public:
    TDProtoTable() = default;
    // An empty table, then load.
    explicit TDProtoTable(tinyxml2::XMLElement* data, TDSpriteSheetSource* sheets = nullptr);
    ~TDProtoTable();

    TDProtoTable(const TDProtoTable&) = delete;
    TDProtoTable& operator=(const TDProtoTable&) = delete;

    // Appends one prototype (with its branches) per element directly inside the `units`, `towers` and `ammo`
    // sections of data, in that order. A missing section adds nothing.
    void load(tinyxml2::XMLElement* data, TDSpriteSheetSource* sheets = nullptr);
    // Deletes every prototype.
    void clear();

    // The first top-level prototype of the id or, within a top-level prototype, its first branch of the id,
    // walking the table in order (a unit row shadows a tower or ammunition row of the same id); null when
    // none.
    TDUnitProto* find(int id) const;

    const std::vector<TDUnitProto*>& getProtos() const { return mProtos; }
    // Top-level rows that came from the `units` section.
    int unitCount() const { return mUnitCount; }

private:
    std::vector<TDUnitProto*> mProtos; // owned
    int mUnitCount = 0;
};
