#include "Source/TD/Data/TDAttributes.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace
{
TEST(AttributesTest, EntriesReadTheirLeadingNumber)
{
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse("<attributes>"
                        "<a name=\"radius_mult\" value=\"1.25\"/>"
                        "<a name=\"spawn\" value=\"1\"/>"
                        "<a name=\"junk\" value=\"abc\"/>"
                        "<a name=\"unit\" value=\"12px\"/>"
                        "<a name=\"novalue\"/>"
                        "<a name=\"twice\" value=\"1\"/><a name=\"twice\" value=\"2.5\"/>"
                        "<a name=\"third\" value=\"0.333333333\"/>"
                        "</attributes>"),
              tinyxml2::XML_SUCCESS);
    TDAttributes attributes(doc.FirstChildElement());
    struct Case
    {
        const char* name;
        float value;
        const char* text;
    } cases[] = {
        {"radius_mult", 1.25f, "1.25"},
        {"spawn", 1.0f, "1"},
        {"junk", 0.0f, "0"},
        {"unit", 12.0f, "12"},
        {"novalue", 0.0f, "0"},
        {"twice", 2.5f, "2.5"},
        {"third", 0.333333333f, "0.333333"}, // the text is the number written back, not the attribute
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_FLOAT_EQ(attributes.getFloat(c.name), c.value);
        EXPECT_EQ(attributes.getString(c.name), c.text);
    }
    EXPECT_EQ(attributes.getFloat("missing"), 0.0f);
    EXPECT_EQ(attributes.getString("missing2"), "");
    EXPECT_EQ(TDAttributes(nullptr).getFloat("x"), 0.0f);
}
} // namespace
