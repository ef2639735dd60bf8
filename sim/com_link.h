#pragma once
// The COM<n> link in the COM folder through which the programs find the simulator's port.

#include <string>

namespace sim {

// Places <dir>/COM<n> -> target, creating the folder if needed, and removes the link again
// when destroyed, unless somebody has pointed it elsewhere meanwhile. Not copyable.
class ComLink {
  public:
    ComLink() = default;
    ~ComLink() { Remove(); }
    ComLink(const ComLink&) = delete;
    ComLink& operator=(const ComLink&) = delete;

    // An existing COM<n> that names another device is left alone unless `force` is set (it is
    // then put back when this link goes); one
    // naming a pseudo-terminal that no longer exists (left by a simulator that was killed) is
    // replaced and *note says so. Something there that is not a link is never replaced.
    // 0, or -1 with the reason in *error.
    int Place(const std::string& dir, int com, const std::string& target, bool force,
              std::string* error, std::string* note);
    // If the link still points at our target: puts back the link it took over with force, or
    // removes it. Safe to call twice.
    void Remove();
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::string target_;
    std::string replaced_;  // what a forced Place took over
};

}  // namespace sim
