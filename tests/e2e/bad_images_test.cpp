// The program given broken, odd and missing sky images: it names the ones it
// cannot load, shows the plain fallback colour wherever an image has no
// pixel, and still ends with 0 on a key press.
#include "e2e.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const uint32_t nightFallback = rgb(12, 14, 40);
const uint32_t dayFallback = rgb(135, 206, 235);

// A sky's file: the repository's own (""), none (nullptr), a FIFO ("|"), or
// a test image.
struct Slot {
    const char* file;
    bool loads;
};

struct Case {
    const char* name;
    Slot night;
    Slot day;
    bool artFolder = true;
};

const Slot sky{"", true};
const Slot none{nullptr, false};

const Case cases[] = {
    {"NoArtFolder", none, none, false},
    {"NightMissing", none, sky},
    {"DayMissing", sky, none},
    {"TruncatedHalfWay", sky, {"truncated.png", false}},
    {"TextNamedLikeAPng", {"text.png", false}, sky},
    {"OnePixel", sky, {"one-pixel.png", true}},
    {"OneRowShort", {"short.png", true}, {"short.png", true}},
    {"SixteenBitAndGrey", {"grey.png", true}, {"deep.png", true}},
    {"PalettedAndAlpha", {"rgba.png", true}, {"paletted.png", true}},
    {"FourThousandByThreeThousand", sky, {"huge.png", true}},
    {"AFifoNamedLikeAPng", sky, {"|", false}},
    {"WiderThanTheLimit", {"too-wide.png", false}, {"widest.png", true}},
};

std::string source(const Slot& slot, const char* skyName)
{
    return *slot.file ? std::string(TEST_IMAGES_DIR "/") + slot.file : std::string(PLANT_SOURCE_DIR "/art/") + skyName;
}

// What the background shows at (x, y) for a sky: its pixel, or the fallback.
uint32_t expected(const Screenshot& image, uint32_t fallback, int x, int y)
{
    return x < image.width && y < image.height ? image.at(x, y) : fallback;
}

struct BadImages : EndToEnd, testing::WithParamInterface<Case> {};

} // namespace

TEST_P(BadImages, FallbackWhereAnImageHasNoPixel)
{
    const Case& c = GetParam();
    const fs::path dir = fs::temp_directory_path() / ("plant-images-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (c.artFolder) fs::create_directories(dir / "art");

    Screenshot night, day;
    const std::pair<const Slot*, const char*> slots[] = {{&c.night, "KV_Night_Sky.png"}, {&c.day, "KV_Day_Sky.png"}};
    for (const auto& [slot, name] : slots) {
        if (!slot->file) continue;
        if (*slot->file == '|') {
            ASSERT_EQ(mkfifo((dir / "art" / name).c_str(), 0600), 0);
            continue;
        }
        fs::copy_file(source(*slot, name), dir / "art" / name);
        if (slot->loads) {
            (slot == &c.night ? night : day) = loadPng(source(*slot, name));
            ASSERT_GT((slot == &c.night ? night : day).width, 0) << name;
        }
    }

    launch(dir.string());
    if (!c.night.loads) {
        EXPECT_EQ(plant->readLine(), "error loading : ./art/KV_Night_Sky.png");
    }
    if (!c.day.loads) {
        EXPECT_EQ(plant->readLine(), "error loading : ./art/KV_Day_Sky.png");
    }
    EXPECT_EQ(plant->readLine(), startUpPlant);

    const Screenshot shot = display->waitFor(
        [&](const Screenshot& s) { return s.at(299, 399) == expected(night, nightFallback, 299, 399); });
    for (int y = 300; y < 400; ++y)
        EXPECT_EQ(shot.at(299, y), expected(night, nightFallback, 299, y)) << "night at row " << y;
    const int lit[][2] = {{0, 0}, {5, 5}, {599, 0}, {0, 399}, {599, 399}, {100, 50}, {450, 300}, {1, 1}};
    for (const auto& p : lit)
        EXPECT_EQ(shot.at(p[0], p[1]), expected(day, dayFallback, p[0], p[1])) << "day at " << p[0] << ", " << p[1];

    display->moveTo(100, 100);
    display->pressKey();
    EXPECT_EQ(plant->wait(), 0);
    EXPECT_EQ(plant->pendingOutput(), "");
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Skies, BadImages, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
