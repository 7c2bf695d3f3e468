// The same binary on each SDL 1.2 the system offers: its own (the classic
// library on Debian 12, sdl12-compat on SDL 2 from Debian 13 on) and, where
// that is the classic one, sdl12-compat loaded ahead of it by its path.
#include "e2e.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

const std::string grownAt212 = "aa[+aa[+aa[+aa[+ao]-ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao";

// Each SDL 1.2 the program is tried on: the system's, which it was built
// against, and sdl12-compat from its folder where the build found one.
struct Implementation {
    const char* name;
    const char* libraryPath;
};

std::vector<Implementation> implementations()
{
    std::vector<Implementation> all{{"System", ""}};
    if (*SDL12_COMPAT_DIR) all.push_back({"Compat", SDL12_COMPAT_DIR});
    return all;
}

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

// The start-up frame as the classic SDL 1.2.15 shows it, saved on Debian 12
// (e2e_session's "frame"): there it holds the classic library to it too.
TEST_P(EachSdl, FirstFrameIsTheClassicOnesPixelForPixel)
{
    const Screenshot classic = loadPng(PLANT_SOURCE_DIR "/tests/e2e/start-up-frame.png");
    launch();
    expectLoaded();
    EXPECT_EQ(plant->readLine(), startUpPlant);
    const Screenshot shot = settledFrame();
    ASSERT_EQ(shot.pixels.size(), classic.pixels.size());
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

INSTANTIATE_TEST_SUITE_P(Sdl12, EachSdl, testing::ValuesIn(implementations()),
                         [](const testing::TestParamInfo<Implementation>& info) { return std::string(info.param.name); });
