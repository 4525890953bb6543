#include "Core/Render/Image.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDResources.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Sprites/TDTestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

using tdtest::FixtureLayer;

namespace
{

class SpriteSheets : public tdtest::GameFixture
{
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        // A preloaded folder of three sprites; the listing order inside a group is the file's, not the
        // name's.
        tdtest::WriteImageFolder(mRoot / "td/data/ui_parts", {
                                                                 {"ui/brush", 3, 4, 8, 6},
                                                                 {"ui/money", 0, 0, 5, 5},
                                                                 {"ui/sub/deep", 0, 0, 2, 2},
                                                                 {"spots/s", 10, 10, 40, 30},
                                                                 {"enemy1/walk/0002", 2, 0, 4, 4},
                                                                 {"enemy1/walk/0001", 1, 0, 4, 4},
                                                                 {"enemy1/s_point/p", 20, 40, 1, 1},
                                                                 {"enemy1/lost", 0, 0, 4, 4, false},
                                                             });
        // A sprite document exported as an image folder: images at its top and in folders.
        tdtest::WriteImageFolder(mRoot / "td/units/boss", {
                                                              {"body", 0, 0, 6, 6},
                                                              {"walk/0001", 0, 0, 4, 4},
                                                              {"walk/deeper/x", 0, 0, 4, 4},
                                                              {"shadow", 0, 0, 6, 2},
                                                          });
        tdtest::WriteDds(mRoot / "td/pics/solid.dds", 16, 8);
    }

    TDResources* res = TDResources::Instance();

    std::vector<std::wstring> Names(const TDSpriteSheet* sheet, const std::string& group)
    {
        std::vector<std::wstring> names;
        for (const TDFrameEntry* entry : sheet->getGroup(group))
            names.push_back(entry->mName);
        return names;
    }

    TDSpriteSheet* FromElement(const char* xml)
    {
        tinyxml2::XMLDocument doc;
        EXPECT_EQ(doc.Parse(xml), tinyxml2::XML_SUCCESS);
        return res->getSheet(*doc.RootElement());
    }
};

} // namespace

TEST_F(SpriteSheets, PreloadedFolderRegistersOneSheetPerGroupUnderTdWithFullNames)
{
    res->loadFolder(L"td/data/ui_parts");
    std::vector<std::wstring> paths;
    for (const TDSpriteSheet* sheet : res->getSheets())
        paths.push_back(sheet->mPsdPath);
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"td/enemy1", L"td/spots", L"td/ui"}));

    const TDSpriteSheet* ui = res->findSheet(L"td/ui");
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(ui->mImgPath, L"td/ui");
    EXPECT_EQ(ui->mContainer, nullptr);
    EXPECT_FALSE(ui->mFromDocument);
    // Every group of the conventions is there, the missing ones empty; the root group holds only the images
    // directly in the folder.
    EXPECT_EQ(ui->mGroups.size(), TDSpriteSheet::groupNames().size());
    EXPECT_EQ(ui->mGroups.size(), 28u);
    EXPECT_EQ(Names(ui, ""), (std::vector<std::wstring>{L"ui/brush", L"ui/money"}));
    EXPECT_TRUE(ui->getGroup("walk").empty());

    const TDFrameEntry* brush = res->findFrame(L"td/ui", L"", L"ui/brush");
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->mRect.x, 3.0f);
    EXPECT_EQ(brush->mRect.y, 4.0f);
    EXPECT_EQ(brush->mRect.width, 8.0f);
    EXPECT_EQ(brush->mRect.height, 6.0f);
    ASSERT_NE(brush->mTexture, nullptr);
    EXPECT_EQ(brush->mTexture->GetWidth(), 8);
    EXPECT_FALSE(brush->mOwnsTexture);

    const TDSpriteSheet* enemy = res->findSheet(L"td/enemy1");
    ASSERT_NE(enemy, nullptr);
    EXPECT_EQ(Names(enemy, "walk"), (std::vector<std::wstring>{L"enemy1/walk/0002", L"enemy1/walk/0001"}));
    // A layer whose picture is missing still has its entry, without a texture.
    ASSERT_EQ(enemy->getGroup("").size(), 1u);
    EXPECT_EQ(enemy->getGroup("").front()->mTexture, nullptr);
}

TEST_F(SpriteSheets, FindFrameNeverLoadsAndAnswersNullForWhatIsMissing)
{
    res->loadFolder(L"td/data/ui_parts");
    struct Case
    {
        const wchar_t* sheet;
        const wchar_t* group;
        const wchar_t* name;
        bool found;
    };
    const Case cases[] = {
        {L"td/ui", L"", L"ui/money", true},        {L"td/enemy1", L"walk", L"enemy1/walk/0001", true},
        {L"td/ui", L"", L"money", false},          // names keep their group path
        {L"td/ui", L"", L"ui/sub/deep", false},    // deeper folders are not part of a group
        {L"td/ui", L"walk", L"ui/money", false},   // another group
        {L"td/ui", L"nosuch", L"ui/money", false}, // a group the conventions do not have
        {L"td/units/boss", L"", L"body", false},   // a document that exists but was never requested
        {L"td/nothing", L"", L"x", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "sheet " << c.sheet << " group '" << c.group << "' name " << c.name);
        EXPECT_EQ(res->findFrame(c.sheet, c.group, c.name) != nullptr, c.found);
    }
    EXPECT_EQ(res->getSheets().size(), 3u);
    EXPECT_EQ(res->findSheet(L"td/ui")->mGroups.count("nosuch"), 0u);
}

TEST_F(SpriteSheets, ElementsFindTheSameSheetByPsdOrImg)
{
    res->loadFolder(L"td/data/ui_parts");

    EXPECT_EQ(FromElement("<unit/>"), nullptr);
    EXPECT_EQ(FromElement("<unit psd=\"\" img=\"\"/>"), nullptr);
    EXPECT_EQ(res->getSheets().size(), 3u);

    // A "psd" naming a preloaded group finds that sheet, whatever the "img" says.
    EXPECT_EQ(FromElement("<unit psd=\"enemy1\" img=\"pics/solid\"/>"), res->findSheet(L"td/enemy1"));

    // A document: opened once, found again by a second element and by its path.
    TDSpriteSheet* boss = FromElement("<unit psd=\"units/boss\"/>");
    ASSERT_NE(boss, nullptr);
    EXPECT_TRUE(boss->mFromDocument);
    EXPECT_NE(boss->mContainer, nullptr);
    EXPECT_EQ(boss->mImgPath, L"td/");
    EXPECT_EQ(boss->mTexture, nullptr);
    EXPECT_EQ(FromElement("<unit psd=\"units/boss\" img=\"pics/solid\"/>"), boss);
    EXPECT_EQ(res->getSheet(std::wstring(L"td/units/boss")), boss);

    // A plain picture: no groups, its texture loaded, found again by the same "img".
    TDSpriteSheet* picture = FromElement("<unit img=\"pics/solid\"/>");
    ASSERT_NE(picture, nullptr);
    EXPECT_NE(picture, boss);
    EXPECT_FALSE(picture->mFromDocument);
    ASSERT_NE(picture->mTexture, nullptr);
    EXPECT_EQ(picture->mTexture->GetWidth(), 16);
    EXPECT_EQ(FromElement("<unit img=\"pics/solid\"/>"), picture);
    EXPECT_EQ(res->getSheets().size(), 5u);

    // A picture that does not exist leaves the sheet without a texture.
    TDSpriteSheet* missing = FromElement("<unit img=\"pics/absent\"/>");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->mTexture, nullptr);
}

TEST_F(SpriteSheets, DocumentGroupsAndAMissingDocument)
{
    TDSpriteSheet* boss = res->getSheet(std::wstring(L"td/units/boss"));
    EXPECT_EQ(Names(boss, ""), (std::vector<std::wstring>{L"body", L"shadow"}));
    EXPECT_EQ(Names(boss, "walk"), std::vector<std::wstring>{L"walk/0001"});
    EXPECT_FALSE(boss->mFromDocument); // only an element's "psd" sets it
    EXPECT_NE(res->findFrame(L"td/units/boss", L"walk", L"walk/0001"), nullptr);

    TDSpriteSheet* absent = res->getSheet(std::wstring(L"td/units/absent"));
    ASSERT_NE(absent, nullptr);
    EXPECT_TRUE(absent->mGroups.empty());
    EXPECT_EQ(absent->mContainer, nullptr);
    EXPECT_EQ(absent->findFrame(L"walk", L"walk/0001"), nullptr);
    EXPECT_TRUE(absent->getGroup("walk").empty());
    EXPECT_EQ(res->getSheet(std::wstring(L"td/units/absent")), absent);

    res->loadFolder(L"td/data/absent_parts");
    EXPECT_EQ(res->getSheets().size(), 2u);
    res->clear();
    EXPECT_TRUE(res->getSheets().empty());
    EXPECT_EQ(res->findSheet(L"td/units/boss"), nullptr);
}
