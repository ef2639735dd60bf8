// Settings files read only when regular and only as far as asked; writes that never wait on a
// FIFO; a full disk told from a file that cannot be created. A rewritten file is replaced whole
// or not at all: the old file stays through a write that fails, a full disk, a read-only folder
// and a save that is given up; links stay links, the mode stays, and what a killed save leaves
// behind is cleaned up by the next save.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <tuple>

#include "platform/sys/file_replacement.h"
#include "platform/sys/small_file.h"
#include "temp_dir.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/file_trouble.h"

namespace {

namespace fs = std::filesystem;
using sys_test::TempDir;
using sys_test::WriteFile;
using test_support::FifoGuard;

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

TEST(FileReplacement, TheOldFileStaysWhenTheSaveIsGivenUpOrFailsAndFailuresAreTold) {
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
        EXPECT_EQ(std::make_tuple(result, error, created), std::make_tuple(-1, EFBIG, true));
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
    EXPECT_EQ(std::make_tuple(result, error, created), std::make_tuple(-1, EACCES, false));
    EXPECT_EQ(Read(dir.Sub("a.txt")), "old");

    // Cannot create (a folder at the name, a parent that is a file) against cannot write (a
    // full disk: /dev/full opens and refuses every byte).
    fs::create_directory(dir.Sub("folder.txt"));
    WriteFile(dir.Sub("file"), "");
    sys_test::Symlink("/dev/full", dir.Sub("full.txt"));
    const std::tuple<const char*, bool, int> kTrouble[] = {
        {"folder.txt", false, EISDIR}, {"file/a.txt", false, ENOTDIR}, {"full.txt", true, ENOSPC}};
    for (const auto& [name, made, why] : kTrouble) {
        created = !made;
        EXPECT_EQ(sys::WriteWholeFile(dir.Sub(name), "12", &created), -1) << name;
        EXPECT_EQ(std::make_pair(created, errno), std::make_pair(made, why)) << name;
    }
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

    bool created = false;
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("a.txt"), "whole", &created), 0);
    EXPECT_TRUE(created);
    EXPECT_EQ(Read(dir.Sub("a.txt")), "whole");
    // A save of the same file that another program is making keeps its file.
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"a.txt", running, other}));
}

TEST(ReadFileHead, ReadsARegularFileUpToTheBoundAndRefusesAnythingElse) {
    TempDir dir;
    WriteFile(dir.Sub("a.txt"), std::string("1f00 104\n\0x", 11));
    std::string text = "old";
    int error = -1;
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("a.txt"), 100, &text, &error), 0);
    EXPECT_EQ(text, std::string("1f00 104\n\0x", 11));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("a.txt"), 3, &text), 0);
    EXPECT_EQ(text, "1f0");

    int code = -9;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(
        sys::OpenRegularForReading(dir.Sub("a.txt"), &code), std::fclose);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(code, 0);
    char head[5] = {};
    EXPECT_EQ(std::fread(head, 1, 4, f.get()), 4u);
    EXPECT_STREQ(head, "1f00");
    EXPECT_EQ(sys::OpenRegularForReading(dir.Sub("none"), &code), nullptr);
    EXPECT_EQ(code, sys::kFileMissing);

    // A huge (sparse) file costs no more than its first bytes.
    WriteFile(dir.Sub("big.txt"), "7");
    fs::resize_file(dir.Sub("big.txt"), 4ull << 30);
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("big.txt"), 8, &text), 0);
    EXPECT_EQ(text, std::string("7\0\0\0\0\0\0\0", 8));

    // What is no regular file is refused, without waiting.
    text = "old";
    error = -1;
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("none.txt"), 10, &text, &error), sys::kFileMissing);
    EXPECT_EQ(std::make_pair(error, text), std::make_pair(ENOENT, std::string()));
    EXPECT_EQ(sys::FileProblemText(sys::kFileMissing, error), "No such file or directory");

    fs::create_directory(dir.Sub("folder.txt"));
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("folder.txt"), 10, &text, &error), sys::kFileNotRegular);
    EXPECT_EQ(sys::FileProblemText(sys::kFileNotRegular, error), "not a regular file");

    sys_test::Symlink("/dev/zero", dir.Sub("zero.txt"));
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("zero.txt"), 10, &text), sys::kFileNotRegular);
    sys_test::Symlink(dir.Sub("gone"), dir.Sub("dangling.txt"));
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("dangling.txt"), 10, &text), sys::kFileMissing);

    FifoGuard fifo(dir.Sub("fifo.txt"));
    ASSERT_TRUE(fifo.Made());
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("fifo.txt"), 10, &text), sys::kFileNotRegular);
    code = 0;
    EXPECT_EQ(sys::OpenRegularForReading(dir.Sub("fifo.txt"), &code), nullptr);
    EXPECT_EQ(code, sys::kFileNotRegular);
    EXPECT_FALSE(fifo.HadToFree());
}

TEST(OpenForWriting, CreatesEmptiesAndAppendsLikeFopenAndNeverWaitsOnAFifo) {
    TempDir dir;
    const std::string path = dir.Sub("log.txt");
    for (bool append : {false, true, true, false}) {
        std::FILE* f = sys::OpenForWriting(path, append);
        ASSERT_NE(f, nullptr);
        std::fputs("x", f);
        EXPECT_EQ(std::fclose(f), 0);
    }
    EXPECT_EQ(Read(path), "x");

    // A FIFO nobody reads fails at once; one that is read is written to (a technician's tail).
    FifoGuard fifo(dir.Sub("tail.txt"));
    ASSERT_TRUE(fifo.Made());
    errno = 0;
    EXPECT_EQ(sys::OpenForWriting(dir.Sub("tail.txt"), true), nullptr);
    EXPECT_EQ(errno, ENXIO);
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("tail.txt"), "1"), -1);
    EXPECT_FALSE(fifo.HadToFree());

    const int reader = ::open(dir.Sub("tail.txt").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::FILE* f = sys::OpenForWriting(dir.Sub("tail.txt"), true);
    ASSERT_NE(f, nullptr);
    std::fputs("tail\n", f);
    EXPECT_EQ(std::fclose(f), 0);
    char got[8] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 5);
    EXPECT_STREQ(got, "tail\n");
    ::close(reader);
}

}  // namespace
