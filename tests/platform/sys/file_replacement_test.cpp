// A rewritten file is replaced whole or not at all: the old file stays through a write that
// fails, a full disk, a read-only folder and a save that is given up; links stay links, the
// mode stays, and what a killed save leaves behind is cleaned up by the next save.

#include "platform/sys/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "platform/sys/small_file.h"
#include "temp_dir.h"
#include "tests/support/file_trouble.h"

namespace {

namespace fs = std::filesystem;
using sys_test::TempDir;
using sys_test::WriteFile;

std::string Read(const std::string& path) {
    std::string text;
    EXPECT_EQ(sys::ReadFileHead(path, 1 << 20, &text), 0) << path;
    return text;
}

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

// A pid that no process has: a child that has ended and been reaped.
pid_t GonePid() {
    const pid_t pid = fork();
    if (pid == 0) _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

TEST(FileReplacement, ReplacesTheFileAtTheEndOfItsLinkKeepingItsMode) {
    TempDir dir;
    WriteFile(dir.Sub("real/a.txt"), "an older and longer content", 0640);
    sys_test::Symlink("real/a.txt", dir.Sub("a.txt"));
    {
        sys::FileReplacement f(dir.Sub("a.txt"));
        ASSERT_TRUE(f.opened());
        std::fputs("5\n3", f.get());
        EXPECT_EQ(Read(dir.Sub("a.txt")), "an older and longer content");  // not yet
        EXPECT_EQ(f.Commit(), 0);
    }
    EXPECT_TRUE(fs::is_symlink(dir.Sub("a.txt")));
    EXPECT_EQ(Read(dir.Sub("real/a.txt")), "5\n3");
    EXPECT_EQ(fs::status(dir.Sub("real/a.txt")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(dir.Sub("real")), std::set<std::string>{"a.txt"});

    // A new file, and a dangling link that an open for writing would have followed.
    sys_test::Symlink("made.txt", dir.Sub("dangling.txt"));
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("new.txt"), "1"), 0);
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("dangling.txt"), "2"), 0);
    EXPECT_EQ(Read(dir.Sub("new.txt")), "1");
    EXPECT_EQ(Read(dir.Sub("made.txt")), "2");
    EXPECT_TRUE(fs::is_symlink(dir.Sub("dangling.txt")));
}

TEST(FileReplacement, TheOldFileStaysWhenTheSaveIsGivenUpOrFails) {
    TempDir dir;
    WriteFile(dir.Sub("a.txt"), "old");
    {
        sys::FileReplacement f(dir.Sub("a.txt"));
        ASSERT_TRUE(f.opened());
        std::fputs("new, never committed", f.get());
    }
    EXPECT_EQ(Read(dir.Sub("a.txt")), "old");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"a.txt"});

    // A disk that takes four bytes: the write fails, at the write or at the sync.
    for (const std::string& content : {std::string(10, 'x'), std::string(100000, 'y')}) {
        bool created = false;
        int result = 0, error = 0;
        {
            test_support::FileSizeLimit full(4);
            result = sys::WriteWholeFile(dir.Sub("a.txt"), content, &created);
            error = errno;
        }
        EXPECT_EQ(result, -1);
        EXPECT_EQ(error, EFBIG);
        EXPECT_TRUE(created);
        EXPECT_EQ(Read(dir.Sub("a.txt")), "old");
        EXPECT_EQ(Names(dir.path()), std::set<std::string>{"a.txt"});
    }

    // A read-only folder: nothing can be made beside the file, so nothing is replaced.
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    bool created = true;
    int result = 0, error = 0;
    {
        test_support::PermissionBitsBind bind;
        result = sys::WriteWholeFile(dir.Sub("a.txt"), "new", &created);
        error = errno;
    }
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, EACCES);
    EXPECT_FALSE(created);
    EXPECT_EQ(Read(dir.Sub("a.txt")), "old");
}

TEST(FileReplacement, LeftoversOfAKilledSaveAreRemovedByTheNextSaveOfThatFile) {
    TempDir dir;
    const std::string gone = ".a.txt." + std::to_string(GonePid()) + ".part";
    const std::string mine = ".a.txt." + std::to_string(getpid()) + ".part";
    const std::string running = ".a.txt." + std::to_string(getppid()) + ".part";
    const std::string other = ".b.txt." + std::to_string(GonePid()) + ".part";
    for (const std::string& name : {gone, mine, running, other, std::string("a.txt")})
        WriteFile(dir.Sub(name), "half a");
    // What a reader of a.txt or of *.txt sees is never a leftover.
    EXPECT_EQ(Read(dir.Sub("a.txt")), "half a");

    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("a.txt"), "whole"), 0);
    EXPECT_EQ(Read(dir.Sub("a.txt")), "whole");
    // A save of the same file that another program is making keeps its file.
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"a.txt", running, other}));
}

}  // namespace
