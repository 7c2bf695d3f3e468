// About a minute (PLANT_SOAK_SECONDS, 8 in the test suite) of random mouse
// motion and button presses, seeded by PLANT_SOAK_SEED so that a failing run
// can be replayed: the program keeps running, prints one line per press and
// ends with 0.
#include "e2e.h"

#include <cstdlib>
#include <iostream>
#include <random>
#include <thread>

namespace {

int setting(const char* name, int otherwise)
{
    const char* v = std::getenv(name);
    return v && *v ? std::atoi(v) : otherwise;
}

bool isDerivation(const std::string& line)
{
    return !line.empty() && line.find_first_not_of("a[]+-o") == std::string::npos;
}

struct Soak : EndToEnd {};

} // namespace

TEST_F(Soak, RandomMotionAndPresses)
{
    const int seconds = setting("PLANT_SOAK_SECONDS", 8);
    const unsigned seed = static_cast<unsigned>(setting("PLANT_SOAK_SEED", 1));
    SCOPED_TRACE(testing::Message() << "PLANT_SOAK_SEED=" << seed);
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

    launch();
    ASSERT_EQ(plant->readLine(), startUpPlant);

    const int maxPresses = seconds * 12;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int presses = 0;
    while (std::chrono::steady_clock::now() < end && presses < maxPresses) {
        if (pick(0, 9) < 7) {
            // Mostly over the plant, sometimes anywhere in the window.
            const bool plantArea = pick(0, 3) > 0;
            display->moveTo(plantArea ? pick(150, 450) : pick(0, 599), plantArea ? pick(80, 320) : pick(0, 399));
        } else {
            display->click(static_cast<unsigned>(pick(1, 5)));
            ++presses;
            const auto line = plant->readLine(std::chrono::seconds(20));
            ASSERT_TRUE(line.has_value()) << "no line after press " << presses;
            ASSERT_TRUE(isDerivation(*line)) << *line;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pick(2, 40)));
        ASSERT_FALSE(plant->wait(std::chrono::milliseconds(0)).has_value()) << "the program ended";
    }

    display->pressKey();
    EXPECT_EQ(plant->wait(), 0);
    EXPECT_EQ(plant->pendingOutput(), "") << "more lines than presses";
    RecordProperty("presses", presses);
    std::cout << "soak: " << presses << " presses, seed " << seed << "\n";
}
