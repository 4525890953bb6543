// The splash screens' picture list: which pictures "logo/logo.ini" names, in which order.
#include "Source/TD/HUD/Menus/TDSplashScreens.h"

#include <gtest/gtest.h>

namespace
{

TEST(SplashList, NamesThePicturesOfEveryLineInOrder)
{
    struct Case
    {
        const char* what;
        std::string text;
        std::vector<std::wstring> names;
    };
    const Case cases[] = {
        {"two lines, three pictures", "splash;a.png,b.jpg\nmore;c.png\n", {L"a.png", L"b.jpg", L"c.png"}},
        {"spaces inside a name are removed", "s; my logo.png , b.png", {L"mylogo.png", L"b.png"}},
        {"CRLF line ends read as LF", "s;a.png,b.png\r\nt;c.png\r\n", {L"a.png", L"b.png", L"c.png"}},
        {"a lone carriage return line is a logo without picture", "s;a.png\r\n\r\nt;c.png",
         {L"a.png", L"", L"c.png"}},
        {"a line without ';' and a trailing comma make empty items", "nothing\ns;a.png,",
         {L"", L"a.png", L""}},
        {"fields after the second are not used", "s;a.png;b.png", {L"a.png"}},
        {"blank lines and surrounding blanks are skipped", "\n\n  s;a.png  \n\n", {L"a.png"}},
        {"a byte-order-mark-free empty file lists nothing", "", {}},
        {"a UTF-8 name", "s;\xc3\xa9t\xc3\xa9.png", {L"\u00e9t\u00e9.png"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TDSplashScreens::parseList(c.text), c.names) << c.what;
}

} // namespace
