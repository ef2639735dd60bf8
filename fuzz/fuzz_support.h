#pragma once
// What the fuzz targets share: a private run-time tree per process, the fuzz input read
// front to back, answers scripted from it for a stand-in instrument, and the configurator and
// Scan set up on the headless runtime with in-process lines, time on the virtual clock.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/harness.h"

namespace fuzz {

using conf_test::Bytes;

// The fuzz input, taken from the front: seeds are laid out in reading order. Past the end
// every read gives zeros (or nothing).
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte();
    unsigned Word();  // two bytes, high first
    Bytes Take(std::size_t n);
    // The rest of the input.
    std::string Rest();
    std::size_t Left() const { return size_ - at_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Enters this process's private run-time tree, made on first use under the temporary folder
// and removed at exit: <root>/bin is the working directory, <root>/gui holds the real panel
// resources. Returns <root>.
const std::string& EnterTree();
using conf_test::WriteFile;

// Scripts up to `count` answers of the stand-in instrument, each from the input:
//   kind byte: bits 0-1 0 silence, 1 the bytes as they are, 2 the bytes with their CRC
//              appended, 3 the device vanishes (a pulled adapter); bits 2-3 the turnaround
//              (1 ms, 5 ms, 0.3 s, 0.6 s: past the read time-out)
//   for kinds 1 and 2: a length byte, then that many bytes.
void ScriptAnswers(Input& in, serial::ScriptedDevice& device, int count);

using conf_test::Configurator;

// Loads the link controls of the main panel (station, baud rate, frame format, status line)
// into c and opens COM5 at 19200 8N2 with the 0.5 s time-out, as the link start leaves it.
// 0, or negative.
int LoadLinkPanel(Configurator& c);

// An instrument that takes every write: it answers up to `answers` requests of codes 5 and 6
// with their echo and of codes 16 and 9 with their first six bytes, then falls silent;
// reads and damaged requests go unanswered.
class EchoDevice final : public serial::LineDevice {
  public:
    explicit EchoDevice(int answers) : answers_(answers) {}
    void Receive(const serial::LineSettings& master, const std::vector<std::uint8_t>& bytes,
                 double now) override;
    bool NextByte(double upTo, std::uint8_t* byte, double* at) override;

  private:
    int answers_;
    std::vector<std::pair<double, std::uint8_t>> pending_;  // arrival time, byte
    std::size_t next_ = 0;
};

// The configurator of `model` started as its main starts it (log switch on), against the
// simulated instrument of its model on COM5; made once per process for each model. Each call
// empties the log and reads the instrument again, so every run begins with the same pages.
Configurator& StartedConfigurator(const conf::Model& model);

// Scan with its callbacks registered, COM5 and COM33 as in-process lines to scripted
// instruments, the device list given (or another lister). Nothing is loaded.
struct Scan : conf_test::ScanRig {
    explicit Scan(serial::DeviceLister* lister = nullptr);
    serial::ScriptedDevice com5, com33;
};

}  // namespace fuzz
