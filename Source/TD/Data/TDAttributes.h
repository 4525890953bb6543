#pragma once

#include <map>
#include <string>

namespace tinyxml2
{
class XMLElement;
}

// A name-to-value table read from an "attributes" element: one entry per child element, its "name" and its
// "value" read as a float (the leading number; 0 when the text starts with none). Route points, build spots
// and upgrade steps keep their settings in one.
class TDAttributes
{
public:
    TDAttributes() = default;
    explicit TDAttributes(const tinyxml2::XMLElement* element);

    // Reads one child element; a later entry of the same name replaces the earlier one.
    void loadEntry(const tinyxml2::XMLElement* entry);

    // The entry's number; a missing name is inserted with 0 and answers 0.
    float getFloat(const std::string& name);
    // The entry's number written back as text; a missing name is inserted empty and answers an empty text.
    std::string getString(const std::string& name);

private:
    std::map<std::string, float> mValues;
    std::map<std::string, std::string> mTexts;
};
