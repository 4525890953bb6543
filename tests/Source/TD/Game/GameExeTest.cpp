// Runs build/corvantis on the demo data on a virtual display of its own (parallel tests' windows cannot cover
// it): it starts on the splash screens and goes on to the main menu; the screen is photographed until the menu
// shows (the first splash picture and the menu are kept as corvantis_splash.png and corvantis_menu.png in the
// test's build folder), then the game is closed with SIGTERM and its log read.
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

TEST_F(GameExe, StartsOnTheSplashThenTheMainMenuAndLoadsTheDemoDataWithoutWarnings)
{
    const fs::path script = root / "run.sh";
    const std::string shot = (root / "shot.png").string();
    const std::string splash = (root / "splash.png").string();
    const std::string menu = (root / "menu.png").string();
    // The play button's middle, on the 1366-wide screen.
    const std::string play = "p{" + std::to_string(512 + kOffsetX) + ",300}";
    std::ofstream(script) << "export XDG_DATA_HOME='" << (root / "xdg").string()
                          << "' SDL_AUDIODRIVER=dummy\n"
                          << "'" << CORVANTIS_EXE << "' --data_path '" << tdtest::demoDataRoot().string()
                          << "' &\n"
                          << "game=$!\n"
                          // A loaded machine starts the game slowly: photograph the screen until the menu's
                          // green play button shows (up to two minutes); the first lit picture before it is
                          // the splash.
                          << "for i in $(seq 240); do sleep 0.5\n"
                          << "  import -window root '" << shot << "'\n"
                          << "  if [ \"$(convert '" << shot << "' -format '%[fx:" << play << ".g>0.4&&" << play
                          << ".r<0.5]' info:)\" = 1 ]; then cp '" << shot << "' '" << menu << "'; break; fi\n"
                          << "  [ -f '" << splash << "' ] || [ \"$(convert '" << shot
                          << "' -format '%[fx:mean>0.03]' info:)\" != 1 ] || cp '" << shot << "' '" << splash
                          << "'\n"
                          << "done\n"
                          << "kill -TERM $game\n"
                          << "wait $game\n"
                          << "echo $? > '" << (root / "exit").string() << "'\n";
    const std::string command = "xvfb-run -a -s '-screen 0 1366x768x24' sh '" + script.string() + "' > '" +
                                (root / "output.txt").string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadAll(root / "output.txt");
    EXPECT_EQ(ReadAll(root / "exit"), "0\n") << ReadAll(root / "output.txt");

    std::error_code ignored;
    for (const char* name : {"splash.png", "menu.png"})
        fs::copy_file(root / name, fs::path(CORV_SHOT_DIR) / (std::string("corvantis_") + name),
                      fs::copy_options::overwrite_existing, ignored);
    Shot first;
    ASSERT_TRUE(LoadShot(root / "splash.png", first)) << "no splash picture before the menu";
    Shot shown;
    ASSERT_TRUE(LoadShot(root / "menu.png", shown)) << "the main menu did not show";
    ASSERT_EQ(shown.width, 1366);
    ASSERT_EQ(shown.height, 768);
    auto at = [&](int x, int y) { return shown.At(x + kOffsetX, y); };
    auto r = [](uint32_t c) { return static_cast<int>(c >> 16 & 0xFF); };
    auto g = [](uint32_t c) { return static_cast<int>(c >> 8 & 0xFF); };
    auto b = [](uint32_t c) { return static_cast<int>(c & 0xFF); };
    // The splash is a picture on black: its corner stays black.
    EXPECT_TRUE(Near(first.At(5, 5), 0x000000, 8)) << std::hex << first.At(5, 5);
    // The menu's buttons: green play, teal quit; the night sky behind them.
    EXPECT_TRUE(g(at(512, 300)) > r(at(512, 300)) && g(at(512, 300)) > b(at(512, 300))) << std::hex << at(512, 300);
    const uint32_t quit = at(400, 590);
    EXPECT_TRUE(g(quit) > r(quit) + 40 && b(quit) > r(quit) + 40) << std::hex << quit;
    const uint32_t sky = at(100, 200);
    EXPECT_TRUE(b(sky) > r(sky) && b(sky) < 160) << std::hex << sky;

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
