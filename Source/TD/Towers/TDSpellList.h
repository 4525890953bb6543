#pragma once

#include <string>
#include <vector>

namespace render
{
class Image;
}

// One row of the spells sheet: the prototype that carries the spell's values, its two button icons and the
// spell id by which buttons and levels name it.
class TDSpellProto
{
public:
    TDSpellProto() = default;
    TDSpellProto(const TDSpellProto&) = delete;
    TDSpellProto& operator=(const TDSpellProto&) = delete;
    ~TDSpellProto();

    std::string mIconPath;
    std::string mShadePath;
    int mProtoId = 0;
    int mSpellId = 0;
    // Owned; null when the picture could not be loaded (or icons were not asked for).
    render::Image* mIcon = nullptr;
    render::Image* mShade = nullptr;
};

// The spells of "td/spells_sheet.csv" in file order: lines split at ";", fields trimmed; a line whose first
// field is "#" is skipped; a row needs its prototype (second) and spell id (fifth) fields.
class TDSpellList
{
public:
    TDSpellList() = default;
    // Reads the sheet through the game's files and loads the icons.
    explicit TDSpellList(const std::wstring& path);
    TDSpellList(const TDSpellList&) = delete;
    TDSpellList& operator=(const TDSpellList&) = delete;
    ~TDSpellList();

    // Appends the rows of a sheet text; with loadIcons each row's two pictures are loaded.
    void parse(const std::string& text, bool loadIcons);
    // The first row of the spell id, or null.
    TDSpellProto* findById(int spellId) const;
    const std::vector<TDSpellProto*>& getSpells() const { return mSpells; }

private:
    std::vector<TDSpellProto*> mSpells;
};
