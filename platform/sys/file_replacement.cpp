#include "platform/sys/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "platform/sys/small_file.h"
#include "platform/sys/unique_fd.h"

namespace sys {

namespace {

constexpr int kMaxLinks = 40;  // as the kernel's own limit for a path
constexpr std::string_view kPartSuffix = ".part";

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save at path writes: links followed to their end, a dangling one to the name it
// points at (as an open for writing would create it).
std::string FinalTarget(const std::string& path) {
    std::string p = path;
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return p;
        link.resize(static_cast<std::size_t>(n));
        p = link.front() == '/' ? link : FolderOf(p) + "/" + link;
    }
    return p;
}

// ".NAME." followed by digits and ".part": the temporary file of a save of NAME by that pid.
bool IsPartOf(std::string_view entry, std::string_view prefix, long* pid) {
    if (entry.size() <= prefix.size() + kPartSuffix.size() || !entry.starts_with(prefix) ||
        !entry.ends_with(kPartSuffix))
        return false;
    const std::string_view digits =
        entry.substr(prefix.size(), entry.size() - prefix.size() - kPartSuffix.size());
    long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9' || value > 100000000) return false;
        value = value * 10 + (c - '0');
    }
    *pid = value;
    return true;
}

// Removes the temporary files of saves of NAME whose process is gone (a killed run); a save of
// the same file running in another program keeps its own.
void RemoveLeftovers(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const std::string prefix = "." + name + ".";
    const long self = static_cast<long>(::getpid());
    while (const dirent* e = ::readdir(dir)) {
        long pid = 0;
        if (!IsPartOf(e->d_name, prefix, &pid)) continue;
        const bool gone =
            pid == self || pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
        if (gone) ::unlinkat(::dirfd(dir), e->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace

FileReplacement::FileReplacement(const std::string& path) : target_(FinalTarget(path)) {
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        stream_ = OpenForWriting(path, false);
        return;
    }
    const std::string folder = FolderOf(target_);
    const std::string name = NameOf(target_);
    RemoveLeftovers(folder, name);
    temp_ = folder + "/." + name + "." + std::to_string(::getpid()) + kPartSuffix.data();
    // Exclusive: whatever else stands at the temporary name is never written through.
    UniqueFd fd(::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (fd.get() < 0) {
        temp_.clear();
        return;
    }
    // The new file keeps the old one's permissions (a file made read-only for others stays so).
    if (exists) ::fchmod(fd.get(), old.st_mode & 07777);
    stream_ = ::fdopen(fd.get(), "w");
    if (!stream_) {
        const int saved = errno;
        ::unlink(temp_.c_str());
        temp_.clear();
        errno = saved;
        return;
    }
    fd.release();
}

FileReplacement::~FileReplacement() {
    Abandon();
}

void FileReplacement::Abandon() {
    const int saved = errno;
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    errno = saved;
}

int FileReplacement::Commit() {
    if (!stream_) {
        if (errno == 0) errno = EBADF;
        return -1;
    }
    std::FILE* f = stream_;
    stream_ = nullptr;
    int failure = std::ferror(f) ? (errno ? errno : EIO) : 0;
    // A full disk often shows only when the buffered bytes go out, or at the sync.
    if (std::fflush(f) != 0 && failure == 0) failure = errno ? errno : EIO;
    if (!temp_.empty() && failure == 0 && ::fsync(::fileno(f)) != 0) failure = errno;
    if (std::fclose(f) != 0 && failure == 0) failure = errno ? errno : EIO;
    if (temp_.empty()) {
        errno = failure;
        return failure ? -1 : 0;
    }
    if (failure == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) failure = errno;
    if (failure != 0) {
        ::unlink(temp_.c_str());
        temp_.clear();
        errno = failure;
        return -1;
    }
    temp_.clear();
    // The rename itself reaches the disk with the folder. Some file systems cannot sync a
    // folder; the new file is in place all the same.
    UniqueFd folder(::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
    return 0;
}

}  // namespace sys
