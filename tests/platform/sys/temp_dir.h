#pragma once
// Scratch directories and files for the platform tests, removed again when the test ends.

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace sys_test {

// Canonical, so it compares equal to what getcwd and readlink report.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "sys_test.XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            path_ = std::filesystem::canonical(pattern).string();
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string Sub(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Both create the parent directories as needed.
inline void WriteFile(const std::string& path, const std::string& content, mode_t mode = 0644) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
    chmod(path.c_str(), mode);
}
inline void Symlink(const std::string& target, const std::string& link) {
    std::filesystem::create_directories(std::filesystem::path(link).parent_path());
    std::filesystem::create_symlink(target, link);
}

// Puts the working directory back, whatever the test did to it.
class CwdGuard {
  public:
    ~CwdGuard() {
        std::error_code ignored;
        std::filesystem::current_path(saved_, ignored);
    }

  private:
    std::filesystem::path saved_ = std::filesystem::current_path();
};

}  // namespace sys_test
