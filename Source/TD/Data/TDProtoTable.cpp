#include "Source/TD/Data/TDProtoTable.h"

#include "Core/Base/Containers.h"
#include "Source/TD/Data/TDUnitProto.h"

#include <tinyxml2.h>

#include <string>

TDProtoTable::TDProtoTable(tinyxml2::XMLElement* data, TDSpriteSheetSource* sheets)
{
    load(data, sheets);
}

TDProtoTable::~TDProtoTable()
{
    clear();
}

void TDProtoTable::load(tinyxml2::XMLElement* data, TDSpriteSheetSource* sheets)
{
    if (!data)
        return;
    for (const char* name : {"units", "towers", "ammo"})
    {
        tinyxml2::XMLElement* section = data->FirstChildElement(name);
        if (!section)
            continue;
        for (tinyxml2::XMLElement* e = section->FirstChildElement(); e; e = e->NextSiblingElement())
        {
            mProtos.push_back(new TDUnitProto(e, true, sheets));
            if (std::string(name) == "units")
                ++mUnitCount;
        }
    }
}

void TDProtoTable::clear()
{
    base::DeleteAll(mProtos);
    mUnitCount = 0;
}

TDUnitProto* TDProtoTable::find(int id) const
{
    for (TDUnitProto* proto : mProtos)
    {
        if (proto->id == id)
            return proto;
        for (TDUnitProto* branch : proto->branches)
        {
            if (branch->id == id)
                return branch;
        }
    }
    return nullptr;
}
