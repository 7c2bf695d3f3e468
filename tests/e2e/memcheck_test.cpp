// The real program under valgrind's memcheck for a scripted session: start,
// hover a leaf, grow it, hover a joint, cut it, quit.
#include "e2e.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

TEST_F(EndToEnd, MemcheckFindsNoErrors)
{
    const std::string log = testing::TempDir() + "plant-memcheck-" + std::to_string(getpid()) + ".log";
    patience = std::chrono::seconds(120);
    launch(PLANT_SOURCE_DIR, {"/usr/bin/valgrind", "--error-exitcode=99", "--leak-check=full",
                              "--errors-for-leak-kinds=definite", "--show-leak-kinds=definite",
                              "--suppressions=" PLANT_SOURCE_DIR "/tests/e2e/memcheck.supp", "--log-file=" + log});
    EXPECT_EQ(plant->readLine(patience), startUpPlant);

    hover(212, 212);
    EXPECT_EQ(clickAndRead(), "aa[+aa[+aa[+aa[+ao]-ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao");
    hover(290, 241);
    // The grown leaf was on the cut branch.
    EXPECT_EQ(clickAndRead(), "aa[+]-aa[+aa[+ao]-ao]-aa[+ao]-ao");

    display->pressKey();
    const auto status = plant->wait(patience);

    std::stringstream report;
    report << std::ifstream(log).rdbuf();
    ASSERT_NE(report.str().find("Memcheck"), std::string::npos) << "no report in " << log;
    EXPECT_EQ(status, 0) << report.str();
    EXPECT_NE(report.str().find("ERROR SUMMARY: 0 errors"), std::string::npos) << report.str();
    std::remove(log.c_str());
}
