// Runs build/corvantis on the demo data on a virtual display of its own (parallel tests' windows cannot cover
// it): it opens level 1-1 at once; after ten seconds the screen is photographed (kept as
// corvantis_level_01_01.png in the test's build folder), the game is closed with SIGTERM and its log read.
#include "Source/TD/Harness/TDGameHarness.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool HasProgram(const char* name)
{
    return std::system((std::string("command -v ") + name + " > /dev/null 2>&1").c_str()) == 0;
}

struct Shot
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    uint32_t At(int x, int y) const
    {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
};

bool Near(uint32_t got, uint32_t want, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) >
            tolerance)
            return false;
    return true;
}

class GameExe : public ::testing::Test
{
protected:
    fs::path root;
    // The logical 1024-wide screen is centred in the 1366 x 768 full-screen window.
    static constexpr int kOffsetX = (1366 - 1024) / 2;

    void SetUp() override
    {
        if (!HasProgram("xvfb-run") || !HasProgram("import"))
            GTEST_SKIP() << "needs xvfb-run and import (imagemagick)";
        ASSERT_FALSE(tdtest::demoDataRoot().empty());
        root = fs::temp_directory_path() / ("corv-game-exe-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "xdg");
    }

    void TearDown() override
    {
        if (!root.empty())
            fs::remove_all(root);
    }

    bool LoadShot(const fs::path& path, Shot& shot)
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (png_image_begin_read_from_file(&image, path.c_str()) == 0)
            return false;
        image.format = PNG_FORMAT_RGB;
        shot.width = static_cast<int>(image.width);
        shot.height = static_cast<int>(image.height);
        shot.rgb.resize(PNG_IMAGE_SIZE(image));
        return png_image_finish_read(&image, nullptr, shot.rgb.data(), 0, nullptr) != 0;
    }
};

TEST_F(GameExe, OpensTheFirstLevelAndLoadsTheDemoDataWithoutWarnings)
{
    const fs::path script = root / "run.sh";
    std::ofstream(script) << "export XDG_DATA_HOME='" << (root / "xdg").string()
                          << "' SDL_AUDIODRIVER=dummy\n"
                          << "'" << CORVANTIS_EXE << "' --data_path '" << tdtest::demoDataRoot().string()
                          << "' &\n"
                          << "game=$!\n"
                          // A loaded machine starts the game slowly: wait until the level's grass shows (up to a
                          // minute), then a moment more for the art's last layers.
                          << "for i in $(seq 60); do sleep 1\n"
                          << "  import -window root '" << (root / "shot.png").string() << "'\n"
                          << "  [ \"$(convert '" << (root / "shot.png").string()
                          << "' -format '%[fx:mean>0.05]' info:)\" = 1 ] && break\n"
                          << "done\n"
                          << "sleep 2\n"
                          << "import -window root '" << (root / "shot.png").string() << "'\n"
                          << "kill -TERM $game\n"
                          << "wait $game\n"
                          << "echo $? > '" << (root / "exit").string() << "'\n";
    const std::string command = "xvfb-run -a -s '-screen 0 1366x768x24' sh '" + script.string() + "' > '" +
                                (root / "output.txt").string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadAll(root / "output.txt");
    EXPECT_EQ(ReadAll(root / "exit"), "0\n") << ReadAll(root / "output.txt");

    Shot shot;
    ASSERT_TRUE(LoadShot(root / "shot.png", shot));
    std::error_code ignored;
    fs::copy_file(root / "shot.png", fs::path(CORV_SHOT_DIR) / "corvantis_level_01_01.png",
                  fs::copy_options::overwrite_existing, ignored);
    ASSERT_EQ(shot.width, 1366);
    ASSERT_EQ(shot.height, 768);
    auto at = [&](int x, int y) { return shot.At(x + kOffsetX, y); };
    auto r = [](uint32_t c) { return static_cast<int>(c >> 16 & 0xFF); };
    auto g = [](uint32_t c) { return static_cast<int>(c >> 8 & 0xFF); };
    auto b = [](uint32_t c) { return static_cast<int>(c & 0xFF); };

    // The level's ground: grass, and the road through its route points.
    EXPECT_TRUE(g(at(600, 620)) > r(at(600, 620)) && g(at(600, 620)) > b(at(600, 620)))
        << std::hex << at(600, 620);
    const uint32_t road = at(520, 410);
    EXPECT_TRUE(r(road) > g(road) && g(road) > b(road)) << std::hex << road;
    // Its free spots are light grey discs; the one bought with money shows a gold coin.
    for (const auto& [x, y] : {std::pair{896, 563}, std::pair{82, 148}, std::pair{432, 468}})
    {
        const uint32_t c = at(x, y);
        EXPECT_TRUE(std::abs(r(c) - g(c)) < 24 && std::abs(g(c) - b(c)) < 24 && r(c) > 120) << std::hex << c;
    }
    EXPECT_TRUE(r(at(708, 529)) > 150 && b(at(708, 529)) < r(at(708, 529)) - 60) << std::hex << at(708, 529);
    // Nothing beside the 1024-wide playfield while a level is played.
    EXPECT_TRUE(Near(shot.At(40, 300), 0x000000, 2)) << std::hex << shot.At(40, 300);

    // Loading the demo data left no warning block and no data problem in the log, and the log was closed.
    const std::string log = ReadAll(root / "xdg" / "Orvalis" / "Corvantis" / "log.html");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.find("<div class=\"block\">"), std::string::npos) << log;
    EXPECT_EQ(log.find("Data file"), std::string::npos) << log;
    EXPECT_EQ(log.find("not found"), std::string::npos) << log;
    EXPECT_EQ(log.find("cannot"), std::string::npos) << log;
    EXPECT_NE(log.find("</body></html>"), std::string::npos);
}

} // namespace
