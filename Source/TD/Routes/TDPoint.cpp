#include "Source/TD/Routes/TDPoint.h"

#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"

#include <tinyxml2.h>

#include <cmath>

namespace
{
float finiteOrZero(float value, const wchar_t* what, int id, const std::wstring& source)
{
    if (std::isfinite(value))
        return value;
    base::LogMessage(*base::MainLog::Instance(), L"%s: route point %d: %s is not a number; read as 0\n") %
        source % id % what;
    return 0.0f;
}
} // namespace

TDPoint::TDPoint(const tinyxml2::XMLElement& element, float mapScale, const std::wstring& source)
{
    id = element.IntAttribute("id", 0);
    const float readX = element.FloatAttribute("x", 0.0f);
    const float readY = element.FloatAttribute("y", 0.0f);
    base::LogMessage(*base::MainLog::Instance(), L"new td point (%g, %g)#%d!\n") % readX % readY % id;
    x = finiteOrZero(readX * mapScale, L"x", id, source);
    y = finiteOrZero(readY * mapScale, L"y", id, source);
    for (const tinyxml2::XMLElement* child = element.FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        const char* name = child->Attribute("name");
        if (!name)
        {
            base::LogMessage(*base::MainLog::Instance(),
                             L"%s: route point %d has an attribute without a name\n") %
                source % id;
            continue;
        }
        const float value = child->FloatAttribute("value", 0.0f);
        mAttributes[name] = finiteOrZero(value, base::ToWide(name, 1).c_str(), id, source);
    }
}

TDPoint::TDPoint(int pointId, float px, float py) : id(pointId), x(px), y(py) {}

float TDPoint::getFloat(const std::string& name) const
{
    const auto found = mAttributes.find(name);
    return found == mAttributes.end() ? 0.0f : found->second;
}
