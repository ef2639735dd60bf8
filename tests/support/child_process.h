#pragma once
// A program of the run-time tree as a child process of a test, in real time.

#include <sys/types.h>

#include <string>
#include <vector>

namespace conf_test {

// A child process with its standard output on a pipe and its standard error in a file.
class Child {
  public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child();
    bool Spawn(const std::vector<std::string>& argv, const std::string& comDir,
               const std::string& errFile);
    // Standard output up to its first line end, or what came within the time.
    std::string FirstLine(double seconds = 5.0);
    // Standard output until it closes, or what came within the time.
    std::string Rest(double seconds = 5.0) { return Read(seconds, false); }
    // The exit code, or -1 if it had not ended within the time.
    int Wait(double seconds = 5.0);
    int Stop();
    void Signal(int signal);

  private:
    std::string Read(double seconds, bool oneLine);

    pid_t pid_ = -1;
    int out_ = -1;
};

}  // namespace conf_test
