// demodata <out-dir>: writes the demo data tree the engine and the game run on.
// The output depends only on this program and the DejaVu fonts, so two runs give the same bytes.
#include <cstdio>
#include <filesystem>

#include "tools/demodata/Content.h"

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: demodata <out-dir>\n");
        return 2;
    }
    demodata::Output out(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(argv[1], ec);
    if (ec)
    {
        std::fprintf(stderr, "demodata: cannot create %s\n", argv[1]);
        return 1;
    }
    // A pack built from an earlier tree would be read in place of the fresh td/ files.
    std::filesystem::path stalePack = std::filesystem::path(argv[1]) / "data.dat";
    if (std::filesystem::remove(stalePack, ec))
        std::printf("demodata: removed old %s\n", stalePack.c_str());
    demodata::WriteGameConfig(out);
    demodata::WriteLogo(out);
    demodata::WriteFonts(out);
    demodata::WriteImages(out);
    demodata::WriteLayouts(out);
    demodata::WriteShaders(out);
    demodata::WriteSounds(out);
    demodata::WriteMusic(out);
    demodata::WriteStrings(out);
    demodata::WriteGameSheets(out);
    demodata::WriteUpgrades(out);
    demodata::WriteLevels(out);
    demodata::WriteLevelArt(out);
    demodata::WriteUnitSprites(out);
    demodata::WriteTowerSprites(out);
    demodata::WriteUiParts(out);
    demodata::WriteHudLayout(out);
    demodata::WriteMenuLayouts(out);
    demodata::WriteOptionsLayout(out);
    demodata::WriteSelectLayouts(out);
    demodata::WriteShopLayouts(out);
    demodata::WriteTutorial(out);
#ifdef CORV_DEMODATA_PARTICLES
    demodata::WriteParticles(out);
#endif
    if (!out.Ok())
        return 1;
    std::printf("demodata: %zu files written to %s\n", out.FileCount(), argv[1]);
    return 0;
}
