#include "sim/com_link.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace sim {

namespace fs = std::filesystem;

namespace {

// Points path at target, never leaving it missing in between: made beside it, renamed over it.
int PointAt(const std::string& path, const std::string& target, std::string* error) {
    std::error_code ec;
    const std::string temp = path + ".new" + std::to_string(getpid());
    fs::remove(temp, ec);
    if (symlink(target.c_str(), temp.c_str()) != 0) {
        if (error) *error = temp + ": " + std::strerror(errno);
        return -1;
    }
    if (rename(temp.c_str(), path.c_str()) != 0) {
        if (error) *error = path + ": " + std::strerror(errno);
        fs::remove(temp, ec);
        return -1;
    }
    return 0;
}

// The target of the link at path; empty when there is none or it is not a link.
std::string LinkTarget(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return {};
    fs::path t = fs::read_symlink(path, ec);
    return ec ? std::string() : t.string();
}

}  // namespace

int ComLink::Place(const std::string& dir, int com, const std::string& target, bool force,
                   std::string* error, std::string* note) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return -1;
    };
    if (dir.empty()) return fail("no COM folder: set COMPORTS_DIR, XDG_CONFIG_HOME or HOME");
    if (com < 1 || com > 256)
        return fail("COM number " + std::to_string(com) + " is outside 1..256");
    Remove();
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) return fail(dir + ": " + ec.message());
    const std::string path = dir + "/COM" + std::to_string(com);

    const auto status = fs::symlink_status(path, ec);
    std::string old;
    bool stale = false;
    if (fs::exists(status)) {
        old = LinkTarget(path);
        if (!fs::is_symlink(status))
            return fail(path + " exists and is not a link; remove it or choose another COM number");
        stale = old.rfind("/dev/pts/", 0) == 0 && !fs::exists(old, ec);
        if (old != target && !stale && !force)
            return fail(path + " already names " + old + "; use --force to take it over");
        if (stale && note) *note = path + " named " + old + ", which has gone; replaced";
    }
    if (PointAt(path, target, error) != 0) return -1;
    replaced_ = fs::exists(status) && old != target && !stale ? old : std::string();
    path_ = path;
    target_ = target;
    return 0;
}

void ComLink::Remove() {
    if (path_.empty()) return;
    if (LinkTarget(path_) == target_) {
        std::error_code ec;
        if (replaced_.empty() || PointAt(path_, replaced_, nullptr) != 0) fs::remove(path_, ec);
    }
    path_.clear();
    target_.clear();
    replaced_.clear();
}

}  // namespace sim
