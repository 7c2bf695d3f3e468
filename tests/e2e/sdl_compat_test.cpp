// The same binary on SDL 1.2 as built on SDL 2 (sdl12-compat), the SDL 1.2
// of newer systems, loaded ahead of the classic library by its path.
#include "e2e.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const std::string grownAt212 = "aa[+aa[+aa[+aa[+ao]-ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao";

// Each SDL 1.2 the program is tried on: the classic one it was built
// against, and sdl12-compat from its folder.
struct Implementation {
    const char* name;
    const char* libraryPath;
};

const Implementation implementations[] = {{"Classic", ""}, {"Compat", SDL12_COMPAT_DIR}};

bool loaded(int pid, const std::string& folder)
{
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::stringstream text;
    text << maps.rdbuf();
    return text.str().find(folder + "/libSDL-1.2.so") != std::string::npos;
}

struct EachSdl : EndToEnd, testing::WithParamInterface<Implementation> {
    void SetUp() override
    {
        EndToEnd::SetUp();
        const std::string folder = GetParam().libraryPath;
        if (folder.empty()) return;
        ASSERT_TRUE(std::filesystem::exists(folder + "/libSDL-1.2.so.0"))
            << folder << ": scripts/install-deps test unpacks sdl12-compat there";
        environment["LD_LIBRARY_PATH"] = folder;
    }

    void expectLoaded()
    {
        const std::string folder = GetParam().libraryPath;
        if (!folder.empty()) {
            EXPECT_TRUE(loaded(plant->pid(), folder)) << "not running on " << folder;
        }
    }
};

} // namespace

TEST_P(EachSdl, StartsDrawsGrowsAndEnds)
{
    launch();
    expectLoaded();
    EXPECT_EQ(plant->readLine(), startUpPlant);
    const Screenshot day = loadPng(PLANT_SOURCE_DIR "/art/KV_Day_Sky.png");
    const Screenshot night = loadPng(PLANT_SOURCE_DIR "/art/KV_Night_Sky.png");
    const Screenshot shot = settledFrame();
    EXPECT_EQ(shot.at(10, 10), day.at(10, 10));
    EXPECT_EQ(shot.at(299, 399), night.at(299, 399));
    EXPECT_EQ(shot.at(298, 278), rgb(102, 51, 0));
    hover(212, 212);
    EXPECT_EQ(clickAndRead(), grownAt212);
    display->pressKey();
    EXPECT_EQ(plant->wait(), 0);
}

TEST_P(EachSdl, FirstFrameIsTheClassicOnesPixelForPixel)
{
    Screenshot classic;
    {
        VirtualDisplay reference;
        Process run(PLANT_BINARY, {}, PLANT_SOURCE_DIR, {{"DISPLAY", reference.name()}, {"SDL_VIDEODRIVER", ""}});
        ASSERT_EQ(run.readLine(), startUpPlant);
        ASSERT_TRUE(reference.findWindow());
        classic = ::settledFrame(reference);
    }
    launch();
    expectLoaded();
    EXPECT_EQ(plant->readLine(), startUpPlant);
    const Screenshot shot = settledFrame();
    int differ = 0;
    for (std::size_t i = 0; i < shot.pixels.size(); ++i) differ += shot.pixels[i] != classic.pixels[i];
    EXPECT_EQ(differ, 0) << "pixels unlike the classic SDL's";
}

TEST_P(EachSdl, NoSoundDriverIsNoMatter)
{
    environment["SDL_AUDIODRIVER"] = "bogus";
    launch();
    expectLoaded();
    EXPECT_EQ(plant->readLine(), startUpPlant);
    display->pressKey();
    EXPECT_EQ(plant->wait(), 0);
    EXPECT_EQ(plant->errors(), "");
}

INSTANTIATE_TEST_SUITE_P(Sdl12, EachSdl, testing::ValuesIn(implementations),
                         [](const testing::TestParamInfo<Implementation>& info) { return std::string(info.param.name); });
