#pragma once
// Files of a test: whole-file reads and writes, a scratch folder, and a run-time tree.

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace conf_test {

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// text with each `from` replaced by its `to`; a `from` not in it fails the test.
std::string Edited(std::string text,
                   std::initializer_list<std::pair<std::string, std::string>> edits);

// A fresh folder in the temporary one as the working directory; removed, and the old working
// directory restored, at the end.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string Sub(const std::string& name) const { return root_.string() + "/" + name; }

    std::filesystem::path root_;  // as getcwd reports it

  private:
    std::filesystem::path saved_ = std::filesystem::current_path();
};

// A scratch run-time tree: bin/ as the working directory, gui/ beside it with these panel
// resources of the source tree (every one for "*").
class RunTree : public ScratchDir {
  public:
    explicit RunTree(const std::vector<std::string>& panels);
    void EnterBin() const { std::filesystem::current_path(root_ / "bin"); }
};

}  // namespace conf_test
