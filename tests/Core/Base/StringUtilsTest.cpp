#include "Core/Base/StringUtils.h"

#include <gtest/gtest.h>

namespace
{

TEST(StringUtils, RemoveCharAppendsEverythingElse)
{
    std::string out = "keep:";
    base::RemoveChar(" tower 1 ; 25 ;\t3 ", ' ', out);
    EXPECT_EQ(out, "keep:tower1;25;\t3");
    std::string empty;
    base::RemoveChar("   ", ' ', empty);
    EXPECT_EQ(empty, "");
    std::string withNul;
    base::RemoveChar(std::string("a\0b", 3), '\0', withNul);
    EXPECT_EQ(withNul, "ab");
}

} // namespace
