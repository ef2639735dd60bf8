#include "platform/sys/paths.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/platform/sys/temp_dir.h"

namespace {

TEST(Paths, ProgramDirAndJoin) {
    std::string dir = sys::ProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_TRUE(sys::FileExists(sys::FullPathBesideProgram("test_sys")));
    EXPECT_EQ(sys::JoinPath("/opt/suite/", "gui"), "/opt/suite/gui");
    EXPECT_EQ(sys::JoinPath("/", "gui"), "/gui");
    EXPECT_EQ(sys::JoinPath("", "gui"), "gui");
}

TEST(Paths, MakeDirAndFileExists) {
    sys_test::TempDir tmp;
    EXPECT_EQ(sys::MakeDir(tmp.Sub("logs")), sys::kMakeDirCreated);
    EXPECT_EQ(sys::MakeDir(tmp.Sub("logs")), sys::kMakeDirExisted);
    sys_test::WriteFile(tmp.Sub("plain"), "x");
    EXPECT_EQ(sys::MakeDir(tmp.Sub("plain")), sys::kMakeDirNotADirectory);
    EXPECT_EQ(sys::MakeDir(tmp.Sub("missing/child")), sys::kMakeDirFailed);

    ASSERT_EQ(symlink(tmp.Sub("missing").c_str(), tmp.Sub("dangling").c_str()), 0);
    EXPECT_TRUE(sys::FileExists(tmp.Sub("plain")));
    EXPECT_TRUE(sys::FileExists(tmp.Sub("logs")));
    EXPECT_FALSE(sys::FileExists(tmp.Sub("missing")));
    EXPECT_FALSE(sys::FileExists(tmp.Sub("dangling")));
    EXPECT_FALSE(sys::FileExists(""));
}

TEST(Paths, WorkingDirectory) {
    sys_test::CwdGuard guard;
    sys_test::TempDir tmp;
    std::string before = sys::CurrentDir();
    EXPECT_EQ(sys::ChangeDir(tmp.Sub("missing")), -1);
    EXPECT_EQ(sys::CurrentDir(), before);

    ASSERT_EQ(sys::ChangeDir(tmp.path()), 0);
    EXPECT_EQ(sys::CurrentDir(), tmp.path());
    EXPECT_EQ(sys::MakeDir("sub"), sys::kMakeDirCreated);  // relative to the new directory
    ASSERT_EQ(sys::ChangeDir("sub"), 0);
    ASSERT_EQ(rmdir(tmp.Sub("sub").c_str()), 0);
    EXPECT_EQ(sys::CurrentDir(), "");
}

}  // namespace
