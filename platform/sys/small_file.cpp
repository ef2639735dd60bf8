#include "platform/sys/small_file.h"

#include "platform/sys/file_replacement.h"
#include "platform/sys/unique_fd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sys {

namespace {

using Fd = UniqueFd;

// The regular file at path, opened for reading without waiting: its descriptor, or the
// negative code of the failure (errno kept).
int OpenRegular(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) return errno == ENOENT ? kFileMissing : kFileUnreadable;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return kFileUnreadable;
    if (!S_ISREG(st.st_mode)) {
        errno = 0;
        return kFileNotRegular;
    }
    // Reads of a regular file never wait; the stream is left in the ordinary mode all the same.
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    return fd.release();
}

}  // namespace

int ReadFileHead(const std::string& path, std::size_t maxBytes, std::string* text, int* error) {
    text->clear();
    const int opened = OpenRegular(path);
    if (opened < 0) {
        if (error) *error = opened == kFileNotRegular ? 0 : errno;
        return opened;
    }
    Fd fd(opened);
    text->resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::read(fd.get(), text->data() + got, maxBytes - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (error) *error = errno;
            text->clear();
            return kFileUnreadable;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    text->resize(got);
    if (error) *error = 0;
    return 0;
}

std::string FileProblemText(int code, int error) {
    switch (code) {
        case 0:
            return "";
        case kFileMissing:
            return std::strerror(ENOENT);
        case kFileNotRegular:
            return "not a regular file";
        default:
            return std::strerror(error);
    }
}

std::FILE* OpenRegularForReading(const std::string& path, int* code) {
    const int opened = OpenRegular(path);
    *code = opened < 0 ? opened : 0;
    if (opened < 0) return nullptr;
    Fd fd(opened);
    std::FILE* f = ::fdopen(fd.get(), "r");
    if (!f) {
        *code = kFileUnreadable;
        return nullptr;
    }
    fd.release();
    return f;
}

std::FILE* OpenForWriting(const std::string& path, bool append) {
    const int flags =
        O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (append ? O_APPEND : O_TRUNC);
    Fd fd(::open(path.c_str(), flags, 0666));
    if (fd.get() < 0) return nullptr;
    // Non-blocking was for the open only: writes wait as an ordinary stream's do.
    const int now = ::fcntl(fd.get(), F_GETFL);
    if (now >= 0) ::fcntl(fd.get(), F_SETFL, now & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd.get(), append ? "a" : "w");
    if (!f) return nullptr;
    fd.release();
    return f;
}

int WriteWholeFile(const std::string& path, const std::string& bytes, bool* created) {
    if (created) *created = false;
    FileReplacement file(path);
    if (!file.opened()) return -1;
    if (created) *created = true;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        if (errno == 0) errno = EIO;
        return -1;  // the old file stays
    }
    if (file.Commit() != 0) return -1;
    return 0;
}

}  // namespace sys
