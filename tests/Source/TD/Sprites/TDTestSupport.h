#pragma once

// Shared by the sprite and effect tests: a game application without a window whose renderer records instead
// of drawing, a fresh data root with image-folder fixtures, sheets made by hand from test images, a fake unit
// to follow, and a small particle file loaded into the particle system.

#include "Core/Render/Image/GraphicsTestUtil.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Sprites/TDTargetPoint.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class TDSpriteSheet;

namespace tdtest
{
namespace fs = std::filesystem;

// A game application whose renderer is the recording back end: textures load from files, nothing is shown.
class HeadlessGame : public framework::GameApplication
{
public:
    HeadlessGame();
    VNResultEnum InitGame() override { return VN_OK; }
    VNResultEnum UpdateGame(float) override { return VN_OK; }
    render::RecordingRender* GetRecording() const;
};

// One layer of an image-folder fixture; a layer without its file has write false.
struct FixtureLayer
{
    std::string name;
    int x = 0;
    int y = 0;
    int width = 4;
    int height = 4;
    bool write = true;
};

// Writes an uncompressed 32-bit DDS of the given size.
void WriteDds(const fs::path& path, int width, int height);
// Writes folder/layers.xml listing the layers in order, and one DDS per written layer.
void WriteImageFolder(const fs::path& folder, const std::vector<FixtureLayer>& layers);

// A fresh temporary data root made the current folder, a headless game, and an empty sprite registry; all
// undone afterwards.
class GameFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    fs::path mOldDir;
    fs::path mRoot;
    HeadlessGame* mGame = nullptr;
};

// A recording graphics context with an empty sprite registry before and after.
class SheetDrawFixture : public render::test::GraphicsFixture
{
protected:
    void SetUp() override;
    void TearDown() override;
};

// A sheet registered under path whose groups hold entries over test images of the given rectangles.
struct FixtureFrame
{
    std::string group;
    std::wstring name;
    math::Rect rect;
};
TDSpriteSheet* RegisterSheet(const std::wstring& path, const std::vector<FixtureFrame>& frames);

// A unit stand-in: a position and a target point that tests move.
class FakeUnit : public TDTargetPoint
{
public:
    FakeUnit(float x, float y) : position(x, y), target(x, y) {}
    math::Point2 getPosition() const override { return position; }
    math::Point2 getTargetPoint() const override { return target; }
    void moveTo(float x, float y)
    {
        position = math::Point2(x, y);
        target = position;
    }

    math::Point2 position;
    math::Point2 target;
};

// Loads, once per process, effects into the particle system: "t_line" and "btfly" play for a long time,
// "burst" plays once for 0.2 s.
void LoadTestParticles();

} // namespace tdtest
