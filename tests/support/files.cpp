#include "tests/support/files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "tests/support/file_trouble.h"

namespace conf_test {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Edited(std::string text,
                   std::initializer_list<std::pair<std::string, std::string>> edits) {
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    return text;
}

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "conf.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a scratch folder in " << fs::temp_directory_path();
        return;
    }
    root_ = fs::canonical(pattern);
    fs::current_path(root_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::current_path(saved_, ignored);
    if (!root_.empty()) fs::remove_all(root_, ignored);
}

RunTree::RunTree(const std::vector<std::string>& panels) {
    fs::create_directories(root_ / "bin");
    fs::create_directories(root_ / "gui");
    for (const fs::directory_entry& e : fs::directory_iterator(SUITE_GUI_SOURCE_DIR)) {
        const std::string name = e.path().filename().string();
        if (panels == std::vector<std::string>{"*"} ||
            std::find(panels.begin(), panels.end(), name) != panels.end())
            fs::copy_file(e.path(), root_ / "gui" / name);
    }
    EnterBin();
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit lower = saved_;
    lower.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lower);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, oldHandler_);
}

PermissionBitsBind::PermissionBitsBind() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    lowered[0].effective &=
        ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    held_ = syscall(SYS_capset, &header_, lowered) == 0;
}

PermissionBitsBind::~PermissionBitsBind() {
    if (held_) syscall(SYS_capset, &header_, saved_);
}

}  // namespace conf_test
