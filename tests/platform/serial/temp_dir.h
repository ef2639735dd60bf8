#pragma once
// Scratch directories for the serial tests, removed again when the test ends.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace serial_test {

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "serial.XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = std::filesystem::canonical(pattern);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string Sub(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Both create the parent directories as needed.
inline void WriteFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}
inline void Symlink(const std::string& target, const std::string& link) {
    std::filesystem::create_directories(std::filesystem::path(link).parent_path());
    std::filesystem::create_symlink(target, link);
}

}  // namespace serial_test
