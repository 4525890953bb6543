#pragma once

#include <map>
#include <string>

namespace tinyxml2
{
class XMLElement;
} // namespace tinyxml2

// A route point of a level: a node of the walking graph. Some are spawn points, one is the goal.
class TDPoint
{
public:
    // Reads "id", "x", "y" (0 when absent; x and y times mapScale) and the name/value children as the
    // point's attributes. Values that are not finite read as 0 with a warning naming source.
    TDPoint(const tinyxml2::XMLElement& element, float mapScale, const std::wstring& source);
    TDPoint(int id, float x, float y);

    // The attribute's value; 0 when the point has none of that name.
    float getFloat(const std::string& name) const;
    void setFloat(const std::string& name, float value) { mAttributes[name] = value; }

    bool isSpawn() const { return getFloat("spawn") == 1.0f; }
    bool isGoal() const { return getFloat("goal") == 1.0f; }

    int id = 0;
    float x = 0.0f;
    float y = 0.0f;

private:
    // Stands in for the game's attribute table: routes read "spawn", "goal" and "upper".
    std::map<std::string, float> mAttributes;
};
