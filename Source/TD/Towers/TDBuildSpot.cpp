#include "Source/TD/Towers/TDBuildSpot.h"

#include "Core/Base/Containers.h"
#include "Core/Base/TextEncoding.h"
#include "Source/TD/Data/TDAttributes.h"
#include "Source/TD/Data/TDUtil.h"

#include <tinyxml2.h>

namespace
{
float coordinate(const tinyxml2::XMLElement& element, const char* name, const std::wstring& source)
{
    const char* text = element.Attribute(name);
    float value = 0.0f;
    if (text && !readLeadingFloat(text, &value))
        logDataProblem(source, L"build spot " + base::ToWide(name, base::kEncodingUtf8) + L" \"" +
                                   base::ToWide(text, base::kEncodingUtf8) +
                                   L"\" is no usable number; read as 0");
    return value;
}
} // namespace

TDBuildSpot::TDBuildSpot(const tinyxml2::XMLElement& element, const std::wstring& source)
    : mAttributes(std::make_unique<TDAttributes>(&element))
{
    mCostGold = truncToInt(getFloat("cost_gold"));
    mCostReal = truncToInt(getFloat("cost_real"));
    mType = truncToInt(getFloat("type"));
    mX = coordinate(element, "x", source);
    mY = coordinate(element, "y", source);
    mOwned = mCostGold == 0 && mCostReal == 0;
    // Far outside the 1024 x 768 map nobody can click the spot; it keeps its place in the list (spots are
    // known by their index in the profile) and the level plays on without it.
    if (mX < -512.0f || mX > 1536.0f || mY < -384.0f || mY > 1152.0f)
        logDataProblem(source, L"build spot at (" + std::to_wstring(truncToInt(mX)) + L", " +
                                   std::to_wstring(truncToInt(mY)) +
                                   L") lies far off the map; nobody can build there");
}

TDBuildSpot::~TDBuildSpot() = default;

void TDBuildSpot::loadList(std::vector<TDBuildSpot*>& list, const tinyxml2::XMLElement* spots,
                           const std::wstring& source)
{
    if (!spots)
        return;
    for (const tinyxml2::XMLElement* element = spots->FirstChildElement("spot"); element;
         element = element->NextSiblingElement())
        list.push_back(new TDBuildSpot(*element, source));
}

float TDBuildSpot::getFloat(const std::string& name)
{
    return mAttributes->getFloat(name);
}

void deleteSpotList(std::vector<TDBuildSpot*>& list)
{
    base::DeleteAll(list);
}
