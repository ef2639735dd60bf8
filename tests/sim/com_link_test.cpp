// The COM<n> link: placed, refused, taken over and put back, removed only while ours.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "sim/com_link.h"

namespace {

namespace fs = std::filesystem;

class ComLinkTest : public ::testing::Test {
  protected:
    ComLinkTest() {
        std::string pattern = (fs::temp_directory_path() / "comlink.XXXXXX").string();
        root_ = mkdtemp(pattern.data()) ? pattern : std::string();
        dir = root_ + "/comports";  // not there yet: Place makes it
    }
    ~ComLinkTest() override {
        std::error_code ec;
        if (!root_.empty()) fs::remove_all(root_, ec);
    }
    std::string Target(const std::string& name) {
        std::error_code ec;
        return fs::read_symlink(dir + "/" + name, ec).string();
    }
    void Link(const std::string& name, const std::string& target) {
        fs::create_directories(dir);
        fs::create_symlink(target, dir + "/" + name);
    }

    std::string root_;
    std::string dir;
    std::string error, note;
};

TEST_F(ComLinkTest, PlacedAndRemovedAlsoOverALinkLeftByAKilledSimulator) {
    for (const char* stale : {"", "/dev/pts/987654"}) {
        if (*stale) Link("COM5", stale);
        {
            sim::ComLink link;
            ASSERT_EQ(link.Place(dir, 5, "/dev/pts/77", false, &error, &note), 0) << error;
            EXPECT_EQ(note.find("has gone") != std::string::npos, *stale != 0) << note;
            EXPECT_EQ(link.Path(), dir + "/COM5");
            EXPECT_EQ(Target("COM5"), "/dev/pts/77");
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(dir + "/COM5")));  // nothing to put back
    }
    sim::ComLink link;
    EXPECT_EQ(link.Place("", 5, "/dev/pts/77", false, &error, &note), -1);
    EXPECT_NE(error.find("COMPORTS_DIR"), std::string::npos);
}

TEST_F(ComLinkTest, AForeignLinkIsTakenOnlyWithForceAndPutBack) {
    Link("COM5", "/dev/ttyUSB0");
    {
        sim::ComLink link;
        EXPECT_EQ(link.Place(dir, 5, "/dev/pts/77", false, &error, &note), -1);
        EXPECT_NE(error.find("already names /dev/ttyUSB0; use --force"), std::string::npos);
        EXPECT_EQ(Target("COM5"), "/dev/ttyUSB0");
        ASSERT_EQ(link.Place(dir, 5, "/dev/pts/77", true, &error, &note), 0);
        EXPECT_EQ(Target("COM5"), "/dev/pts/77");
    }
    EXPECT_EQ(Target("COM5"), "/dev/ttyUSB0");
}

TEST_F(ComLinkTest, WhatIsNotALinkOrNoLongerOursIsLeftAlone) {
    fs::create_directories(dir);
    { std::ofstream(dir + "/COM3") << "notes"; }
    sim::ComLink link;
    EXPECT_EQ(link.Place(dir, 3, "/dev/pts/77", true, &error, &note), -1);
    EXPECT_NE(error.find("not a link"), std::string::npos);

    ASSERT_EQ(link.Place(dir, 4, "/dev/pts/77", false, &error, &note), 0);
    fs::remove(dir + "/COM4");
    fs::create_symlink("/dev/ttyACM0", dir + "/COM4");  // somebody re-pointed it
    link.Remove();
    EXPECT_EQ(Target("COM4"), "/dev/ttyACM0");
}

}  // namespace
