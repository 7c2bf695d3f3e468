// The program where a user's machine is less kind: closed or broken
// standard output, signals, a 30-bit screen, bursts of presses, no sound
// and an X server that resets when its last client leaves.
#include "e2e.h"

#include <csignal>
#include <fstream>
#include <thread>

namespace {

const std::string grownAt212 = "aa[+aa[+aa[+aa[+ao]-ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao";

// Stops the process and waits until it is stopped.
void stop(Process& process)
{
    process.signal(SIGSTOP);
    const std::string stat = "/proc/" + std::to_string(process.pid()) + "/stat";
    for (int i = 0; i < 500; ++i) {
        std::ifstream in(stat);
        std::string pid, name, state;
        in >> pid >> name >> state;
        if (state == "T") return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    FAIL() << "the program did not stop";
}

} // namespace

TEST_F(EndToEnd, TitledWithTheProgramsName)
{
    launch();
    // SDL 2 may name the window a moment after it has mapped it.
    std::string title = display->title();
    for (int i = 0; i < 500 && title.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        title = display->title();
    }
    EXPECT_EQ(title, "plant");
}

TEST_F(EndToEnd, ClosedStandardOutputStillEndsOnAKey)
{
    plant = std::make_unique<Process>(PLANT_BINARY, std::vector<std::string>{}, PLANT_SOURCE_DIR,
                                      std::map<std::string, std::string>{{"DISPLAY", display->name()},
                                                                         {"SDL_VIDEODRIVER", ""}},
                                      true);
    ASSERT_TRUE(display->findWindow(patience)) << plant->errors();
    // SDL 1.2 drops input sent while it is still setting up the window it
    // has shown; with no start-up line to wait for, the first frame tells.
    settledFrame();
    hover(212, 212);
    display->click();
    hover(290, 241);   // still drawing after the press
    display->pressKey();
    EXPECT_EQ(plant->wait(), 0);
}

TEST_F(EndToEnd, ReaderGoneKeepsTheProgramRunning)
{
    launch();
    ASSERT_EQ(plant->readLine(), startUpPlant);
    plant->closeOutput();
    hover(212, 212);
    display->click();
    display->click();
    hover(290, 241);
    ASSERT_FALSE(plant->wait(std::chrono::milliseconds(200)).has_value()) << "ended by the press";
    display->pressKey();
    EXPECT_EQ(plant->wait(), 0);
}

TEST_F(EndToEnd, SignalsKeepTheirMeaning)
{
    for (const int sig : {SIGINT, SIGTERM, SIGQUIT}) {
        SCOPED_TRACE(testing::Message() << "signal " << sig);
        launch();
        ASSERT_EQ(plant->readLine(), startUpPlant);
        plant->signal(sig);
        // SIGINT and SIGTERM ask SDL to quit; SIGQUIT's default action ends
        // the process (and may dump core).
        EXPECT_EQ(plant->wait(), sig == SIGQUIT ? 128 + SIGQUIT : 0);
        display = std::make_unique<VirtualDisplay>();
    }
}

TEST_F(EndToEnd, BurstOfPressesPrintsEveryOne)
{
    launch();
    ASSERT_EQ(plant->readLine(), startUpPlant);
    display->moveTo(5, 5);   // nothing there: every press only prints
    settledFrame();
    const int presses = 120;   // SDL's queue holds 127 events
    display->clickBurst(presses);
    for (int i = 0; i < presses; ++i) ASSERT_EQ(plant->readLine(), startUpPlant) << "press " << i;
    display->pressKey();
    EXPECT_EQ(plant->wait(), 0);
}

TEST_F(EndToEnd, NoPressOrKeyIsLostWhileTheProgramIsStopped)
{
    launch();
    ASSERT_EQ(plant->readLine(), startUpPlant);
    display->moveTo(5, 5);
    settledFrame();
    stop(*plant);
    display->clickBurst(2000);
    plant->signal(SIGCONT);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(plant->readLine(), startUpPlant) << "press " << i;

    stop(*plant);
    display->clickBurst(300);
    display->pressKey();
    plant->signal(SIGCONT);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(plant->readLine(), startUpPlant) << "press " << i;
    EXPECT_EQ(plant->wait(), 0);
}

struct DeepScreen : EndToEnd {
    void SetUp() override { display = std::make_unique<VirtualDisplay>(30); }
};

TEST_F(DeepScreen, TenBitsAChannelShowTheSameColours)
{
    const Screenshot day = loadPng(PLANT_SOURCE_DIR "/art/KV_Day_Sky.png");
    const Screenshot night = loadPng(PLANT_SOURCE_DIR "/art/KV_Night_Sky.png");
    launch();
    EXPECT_EQ(plant->readLine(), startUpPlant);
    const Screenshot shot = settledFrame();
    EXPECT_EQ(shot.at(10, 10), day.at(10, 10));
    EXPECT_EQ(shot.at(299, 399), night.at(299, 399));
    EXPECT_EQ(shot.at(298, 278), rgb(102, 51, 0));
    EXPECT_EQ(shot.at(210, 190), rgb(255, 255, 0));
    hover(212, 212);
    EXPECT_EQ(clickAndRead(), grownAt212);
}

// Plain Xvfb resets when its last client leaves; each start is then its
// only client, and SDL's probe connection is one too.
TEST(ResettingServer, EveryStartOpensTheWindow)
{
    Process server("/usr/bin/Xvfb", {"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"}, "/", {});
    const auto number = server.readLine(std::chrono::seconds(20));
    ASSERT_TRUE(number.has_value()) << server.errors();
    int failed = 0;
    for (int i = 0; i < 30; ++i) {
        Process plant(PLANT_BINARY, {}, PLANT_SOURCE_DIR, {{"DISPLAY", ":" + *number}, {"SDL_VIDEODRIVER", ""}});
        const auto line = plant.readLine();
        if (line != startUpPlant) {
            ++failed;
            ADD_FAILURE() << "start " << i << ": " << plant.errors();
            continue;
        }
        plant.signal(SIGTERM);
        EXPECT_EQ(plant.wait(), 0);
    }
    EXPECT_EQ(failed, 0);
}
