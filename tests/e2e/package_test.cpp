// The Debian package: its contents, its menu entry, and the program as the
// menu starts it from a root the package was unpacked into.
#include "e2e.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A command's standard output and whether it exited with 0.
std::pair<std::string, bool> run(const std::string& command)
{
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return {"cannot run " + command, false};
    char buffer[4096];
    while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    return {out, pclose(pipe) == 0};
}

std::string entryValue(const std::string& entry, const std::string& key)
{
    std::smatch m;
    return std::regex_search(entry, m, std::regex("(^|\n)" + key + "=([^\n]*)")) ? m[2].str() : "";
}

struct Package : EndToEnd {
    fs::path deb;
    fs::path root = fs::temp_directory_path() / ("plant-root-" + std::to_string(getpid()));

    void SetUp() override
    {
        EndToEnd::SetUp();
        for (const auto& f : fs::directory_iterator(PACKAGE_DIR))
            if (f.path().extension() == ".deb") deb = f.path();
        ASSERT_FALSE(deb.empty()) << "no .deb in " PACKAGE_DIR;
        fs::remove_all(root);
    }
    void TearDown() override { fs::remove_all(root); }

    // Unpacks the package and starts its program in cwd.
    void startInstalled(const fs::path& cwd)
    {
        ASSERT_TRUE(run("dpkg-deb -x " + deb.string() + " " + root.string()).second);
        plant = std::make_unique<Process>((root / "usr/bin/plant").string(), std::vector<std::string>{},
                                          cwd.string(),
                                          std::map<std::string, std::string>{{"DISPLAY", display->name()},
                                                                             {"SDL_VIDEODRIVER", ""}});
        ASSERT_TRUE(display->findWindow(patience)) << plant->errors();
    }

    // The settled frame shows the day sky where the light falls; a key ends it.
    void expectDaySkyAndQuit()
    {
        const Screenshot day = loadPng(PLANT_SOURCE_DIR "/art/KV_Day_Sky.png");
        const Screenshot shot = settledFrame();
        for (const auto& p : {std::pair{10, 10}, std::pair{590, 20}, std::pair{50, 390}})
            EXPECT_EQ(shot.at(p.first, p.second), day.at(p.first, p.second)) << p.first << ", " << p.second;
        display->pressKey();
        EXPECT_EQ(plant->wait(), 0);
    }
};

} // namespace

TEST_F(Package, HoldsTheProgramItsSkiesAndItsMenuEntry)
{
    const auto [contents, listed] = run("dpkg-deb -c " + deb.string());
    ASSERT_TRUE(listed) << contents;
    for (const char* file : {"./usr/bin/plant", "./usr/share/plant/art/KV_Night_Sky.png",
                             "./usr/share/plant/art/KV_Day_Sky.png", "./usr/share/applications/invalid.plant.plant.desktop",
                             "./usr/share/metainfo/invalid.plant.plant.metainfo.xml",
                             "./usr/share/icons/hicolor/64x64/apps/plant.png", "./usr/share/man/man6/plant.6.gz",
                             "./usr/share/doc/plant/copyright", "./usr/share/doc/plant/changelog.gz"})
        EXPECT_NE(contents.find(std::string(file) + "\n"), std::string::npos) << file << " missing:\n" << contents;

    const auto [depends, read] = run("dpkg-deb -f " + deb.string() + " Depends");
    ASSERT_TRUE(read) << depends;
    EXPECT_NE(depends.find("libsdl1.2debian"), std::string::npos) << depends;
    EXPECT_NE(depends.find("libsdl-image1.2"), std::string::npos) << depends;

    ASSERT_TRUE(run("dpkg-deb -x " + deb.string() + " " + root.string()).second);
    const fs::path entry = root / "usr/share/applications/invalid.plant.plant.desktop";
    const auto [hints, valid] = run("desktop-file-validate " + entry.string());
    EXPECT_TRUE(valid) << hints;
    // Listed in software centres: metadata that names the menu entry beside it.
    const auto [notes, centred] = run("appstreamcli validate-tree --pedantic --no-net " + root.string());
    EXPECT_TRUE(centred) << notes;
}

TEST_F(Package, MenuEntryStartsTheProgramWithItsSkies)
{
    ASSERT_TRUE(run("dpkg-deb -x " + deb.string() + " " + root.string()).second);
    std::ifstream file(root / "usr/share/applications/invalid.plant.plant.desktop");
    const std::string entry((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string exec = entryValue(entry, "Exec");
    const std::string path = entryValue(entry, "Path");
    ASSERT_EQ(exec, "/usr/bin/plant");
    ASSERT_EQ(path, "/usr/share/plant");

    startInstalled(root.string() + path);
    EXPECT_EQ(plant->readLine(), startUpPlant);
    expectDaySkyAndQuit();
}

TEST_F(Package, ProgramFindsItsInstalledSkiesFromAnyDirectory)
{
    const fs::path empty = root / "home";
    fs::create_directories(empty);
    startInstalled(empty);
    EXPECT_EQ(plant->readLine(), startUpPlant);
    expectDaySkyAndQuit();
}

TEST_F(Package, BrokenSkyInTheWorkingDirectoryIsReportedAndReplaced)
{
    const fs::path home = root / "home";
    fs::create_directories(home / "art");
    std::ofstream(home / "art/KV_Day_Sky.png") << "not a picture";
    startInstalled(home);
    EXPECT_EQ(plant->readLine(), "error loading : ./art/KV_Day_Sky.png");
    EXPECT_EQ(plant->readLine(), startUpPlant);
    expectDaySkyAndQuit();
}
