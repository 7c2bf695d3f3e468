// Where the skies come from: the working directory's art/ first, then the
// folder installed with the program.
#include "app/art.h"
#include "app/surface.h"
#include "sdl_env.h"

#include <SDL/SDL_image.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Art : SdlWindow {
    fs::path work = fs::temp_directory_path() / ("plant-art-" + std::to_string(getpid()));
    fs::path installed = work / "share/plant/art";
    fs::path before = fs::current_path();

    void SetUp() override
    {
        fs::create_directories(installed);
        fs::create_directories(work / "cwd");
        fs::current_path(work / "cwd");
    }
    void TearDown() override
    {
        fs::current_path(before);
        fs::remove_all(work);
    }

    // The image and what loading it printed.
    std::pair<SDL_Surface*, std::string> load(const std::string& dir)
    {
        testing::internal::CaptureStdout();
        SDL_Surface* image = loadArt("KV_Day_Sky.png", dir);
        return {image, testing::internal::GetCapturedStdout()};
    }
};

} // namespace

TEST_F(Art, InstalledSkyWhereTheWorkingDirectoryHasNone)
{
    fs::copy_file(ART_DIR "/KV_Day_Sky.png", installed / "KV_Day_Sky.png");
    auto [image, said] = load(installed.string());
    EXPECT_NE(image, nullptr);
    EXPECT_EQ(said, "");
    SDL_FreeSurface(image);

    fs::remove(installed / "KV_Day_Sky.png");
    std::tie(image, said) = load(installed.string());
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(said, "error loading : ./art/KV_Day_Sky.png\n");
}

TEST_F(Art, BrokenFileInTheWorkingDirectoryIsReportedAndReplaced)
{
    fs::copy_file(ART_DIR "/KV_Day_Sky.png", installed / "KV_Day_Sky.png");
    fs::create_directories("art");
    std::ofstream("art/KV_Day_Sky.png") << "not a picture";
    auto [image, said] = load(installed.string());
    EXPECT_NE(image, nullptr);
    EXPECT_EQ(said, "error loading : ./art/KV_Day_Sky.png\n");
    SDL_FreeSurface(image);

    // The working directory's own sky wins over the installed one.
    fs::copy_file(ART_DIR "/KV_Day_Sky.png", "art/KV_Day_Sky.png", fs::copy_options::overwrite_existing);
    fs::remove(installed / "KV_Day_Sky.png");
    std::tie(image, said) = load(installed.string());
    EXPECT_NE(image, nullptr);
    EXPECT_EQ(said, "");
    SDL_FreeSurface(image);
}

TEST_F(Art, TheBuildTreeHasNoInstalledFolder) { EXPECT_EQ(installedArtDir(), ""); }

// The skies' files may be encoded anew, smaller, but their pixels stay the
// ones every frame comparison was made with.
TEST_F(Art, SkiesKeepTheirPixels)
{
    for (const auto& [name, expected] : {std::pair{"KV_Night_Sky.png", 0x278a4b22u}, std::pair{"KV_Day_Sky.png", 0xcf8acdedu}}) {
        SDL_Surface* image = loadImage((std::string(ART_DIR "/") + name).c_str());
        ASSERT_NE(image, nullptr) << name;
        std::uint32_t hash = 2166136261u;   // FNV-1a over R, G, B of each pixel, row by row
        for (int y = 0; y < image->h; ++y)
            for (int x = 0; x < image->w; ++x) {
                Uint8 rgb[3];
                SDL_GetRGB(getPixel(image, x, y), image->format, &rgb[0], &rgb[1], &rgb[2]);
                for (const Uint8 c : rgb) hash = (hash ^ c) * 16777619u;
            }
        EXPECT_EQ(std::pair(image->w, image->h), std::pair(600, 400)) << name;
        EXPECT_EQ(hash, expected) << name;
        SDL_FreeSurface(image);
    }
}
