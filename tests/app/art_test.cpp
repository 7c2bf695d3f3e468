// Where the skies come from: the working directory's art/ first, then the
// folder installed with the program.
#include "app/art.h"
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
