// Runs build/corvantis on freshly generated demo data on a virtual display of its own (parallel tests'
// windows cannot cover it), photographs the screen after a few seconds, closes the game with SIGTERM and
// reads its log.
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

class ShowcaseExe : public ::testing::Test
{
protected:
    fs::path root;
    // The logical 1024-wide screen is centred in the 1366 x 768 window, which fills the virtual screen.
    static constexpr int kOffsetX = (1366 - 1024) / 2;

    void SetUp() override
    {
        if (!HasProgram("xvfb-run") || !HasProgram("import"))
            GTEST_SKIP() << "needs xvfb-run and import (imagemagick)";
        root = fs::temp_directory_path() / ("corv-showcase-exe-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "xdg");
        const std::string demodata =
            std::string(CORV_DEMODATA_EXE) + " " + (root / "data").string() + " > /dev/null";
        ASSERT_EQ(std::system(demodata.c_str()), 0);
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

    // Pixels of the logical rectangle within tolerance of the colour.
    int Count(const Shot& shot, int x0, int y0, int w, int h, uint32_t colour, int tolerance) const
    {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0 + kOffsetX; x < x0 + kOffsetX + w; ++x)
                n += Near(shot.At(x, y), colour, tolerance) ? 1 : 0;
        return n;
    }
};

TEST_F(ShowcaseExe, ShowsTheShowcaseAndLoadsTheDemoDataWithoutWarnings)
{
    // The game runs a few seconds, the screen is photographed, then the session ends it (SIGTERM).
    const fs::path script = root / "run.sh";
    std::ofstream(script) << "export XDG_DATA_HOME='" << (root / "xdg").string()
                          << "' SDL_AUDIODRIVER=dummy\n"
                          << "'" << CORVANTIS_EXE << "' --data_path '" << (root / "data").string() << "' &\n"
                          << "game=$!\n"
                          << "sleep 4\n"
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
    ASSERT_EQ(shot.width, 1366);
    ASSERT_EQ(shot.height, 768);

    // The showcase panel: its colour below the slider, away from its border and text.
    EXPECT_TRUE(Near(shot.At(kOffsetX + 330, 560), 0x3D5A80, 3)) << std::hex << shot.At(kOffsetX + 330, 560);
    // The title in the 80-pixel font: light text pixels over black, neither missing nor a filled box.
    const int title = Count(shot, 362, 20, 300, 85, 0xF1FAEE, 40);
    EXPECT_GT(title, 1500);
    EXPECT_LT(title, 300 * 85 / 2);
    // Each text of the font column has its glyphs.
    for (int line = 0; line < 5; ++line)
        EXPECT_GT(Count(shot, 740, 225 + line * 64, 256, 50, 0xF1FAEE, 40), 150) << "font line " << line;
    // One picture per format in its grid cell, each in its own colour (the block-compressed ones slightly
    // off).
    const uint32_t colours[9] = {0x2A9D8F, 0xE76F51, 0x8338EC, 0xFB8500, 0x3A86FF,
                                 0x06D6A0, 0xEF476F, 0x118AB2, 0x7B2CBF};
    for (int i = 0; i < 9; ++i)
    {
        const int x = 150 - 92 - 40 + (i % 3) * 92;
        const int y = 230 + (i / 3) * 92;
        EXPECT_GT(Count(shot, x, y, 80, 80, colours[i], 12), 1500) << "format picture " << i;
    }
    // The particle effect waits under the panel until the mouse moves: lit pixels around its place.
    int lit = 0;
    for (int y = 630; y < 730; ++y)
        for (int x = 462; x < 562; ++x)
            lit += (shot.At(x + kOffsetX, y) & 0xFFFFFF) != 0 ? 1 : 0;
    EXPECT_GT(lit, 50);

    // Loading the demo data left no warning block in the log, and the log was closed properly.
    const std::string log = ReadAll(root / "xdg" / "Orvalis" / "Corvantis" / "log.html");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.find("<div class=\"block\">"), std::string::npos) << log;
    // Nor a font, picture or effect that could not be loaded (those are logged as ordinary lines).
    EXPECT_EQ(log.find("cannot"), std::string::npos) << log;
    EXPECT_EQ(log.find("without its effects"), std::string::npos) << log;
    EXPECT_NE(log.find("</body></html>"), std::string::npos);
}

} // namespace
