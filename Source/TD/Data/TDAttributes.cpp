#include "Source/TD/Data/TDAttributes.h"

#include "Core/Base/TextStream.h"
#include "Source/TD/Data/TDUtil.h"

#include <tinyxml2.h>

TDAttributes::TDAttributes(const tinyxml2::XMLElement* element)
{
    for (const tinyxml2::XMLElement* e = element ? element->FirstChildElement() : nullptr; e;
         e = e->NextSiblingElement())
        loadEntry(e);
}

void TDAttributes::loadEntry(const tinyxml2::XMLElement* entry)
{
    const char* name = entry->Attribute("name");
    const std::string key = name ? name : "";
    float value = 0.0f;
    readLeadingFloat(entry->Attribute("value"), &value);
    mValues[key] = value;
    base::TextStreamA text;
    text.WriteFloat(value);
    mTexts[key] = text.GetText();
}

float TDAttributes::getFloat(const std::string& name)
{
    return mValues[name];
}

std::string TDAttributes::getString(const std::string& name)
{
    return mTexts[name];
}
