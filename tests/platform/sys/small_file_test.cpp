// Settings files read only when regular and only as far as asked; writes that never wait on a
// FIFO; a full disk told from a file that cannot be created.

#include "platform/sys/small_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>

#include "temp_dir.h"
#include "tests/support/fifo_guard.h"

namespace {

using sys_test::TempDir;
using sys_test::WriteFile;
using test_support::FifoGuard;

TEST(ReadFileHead, ReadsARegularFileUpToTheBoundAndOpensItAsAStream) {
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
    unsigned address = 0;
    int value = 0;
    EXPECT_EQ(std::fscanf(f.get(), "%x %d", &address, &value), 2);
    EXPECT_EQ(address, 0x1f00u);
    EXPECT_EQ(value, 104);
    EXPECT_EQ(sys::OpenRegularForReading(dir.Sub("none"), &code), nullptr);
    EXPECT_EQ(code, sys::kFileMissing);

    // A huge (sparse) file costs no more than its first bytes.
    WriteFile(dir.Sub("big.txt"), "7");
    std::filesystem::resize_file(dir.Sub("big.txt"), 4ull << 30);
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("big.txt"), 8, &text), 0);
    EXPECT_EQ(text, std::string("7\0\0\0\0\0\0\0", 8));
}

TEST(ReadFileHead, RefusesWhatIsNoRegularFileWithoutWaiting) {
    TempDir dir;
    std::string text = "old";
    int error = -1;
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("none.txt"), 10, &text, &error), sys::kFileMissing);
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(text, "");
    EXPECT_EQ(sys::FileProblemText(sys::kFileMissing, error), "No such file or directory");

    std::filesystem::create_directory(dir.Sub("folder.txt"));
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("folder.txt"), 10, &text, &error), sys::kFileNotRegular);
    EXPECT_EQ(sys::FileProblemText(sys::kFileNotRegular, error), "not a regular file");

    sys_test::Symlink("/dev/zero", dir.Sub("zero.txt"));
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("zero.txt"), 10, &text), sys::kFileNotRegular);
    sys_test::Symlink(dir.Sub("gone"), dir.Sub("dangling.txt"));
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("dangling.txt"), 10, &text), sys::kFileMissing);

    {
        FifoGuard fifo(dir.Sub("fifo.txt"));
        ASSERT_TRUE(fifo.Made());
        EXPECT_EQ(sys::ReadFileHead(dir.Sub("fifo.txt"), 10, &text), sys::kFileNotRegular);
        int code = 0;
        EXPECT_EQ(sys::OpenRegularForReading(dir.Sub("fifo.txt"), &code), nullptr);
        EXPECT_EQ(code, sys::kFileNotRegular);
        EXPECT_FALSE(fifo.HadToFree());
    }
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
    std::string text;
    ASSERT_EQ(sys::ReadFileHead(path, 10, &text), 0);
    EXPECT_EQ(text, "x");

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

// Cannot create (a folder at the name, a parent that is a file) against cannot write (a full
// disk: /dev/full opens and refuses every byte).
TEST(WriteWholeFile, TellsCannotCreateFromCannotWrite) {
    TempDir dir;
    bool created = true;
    std::filesystem::create_directory(dir.Sub("folder.txt"));
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("folder.txt"), "1", &created), -1);
    EXPECT_FALSE(created);
    EXPECT_EQ(errno, EISDIR);
    WriteFile(dir.Sub("file"), "");
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("file/a.txt"), "1", &created), -1);
    EXPECT_FALSE(created);
    EXPECT_EQ(errno, ENOTDIR);

    sys_test::Symlink("/dev/full", dir.Sub("full.txt"));
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("full.txt"), "12", &created), -1);
    EXPECT_TRUE(created);
    EXPECT_EQ(errno, ENOSPC);

    WriteFile(dir.Sub("ok.txt"), "an older and longer content");
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("ok.txt"), "5\n3", &created), 0);
    EXPECT_TRUE(created);
    std::string text;
    ASSERT_EQ(sys::ReadFileHead(dir.Sub("ok.txt"), 100, &text), 0);
    EXPECT_EQ(text, "5\n3");
}

}  // namespace
