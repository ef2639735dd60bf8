#pragma once
// A text stream on a file, owned: the event log and the calibration trace are written through
// it. Bytes go out unchanged (the log is a Big5 byte stream). Every write is flushed before it
// returns, so the file holds everything written up to a crash or a kill. Opening never waits:
// a FIFO nobody reads fails at once.

#include <cstdio>
#include <functional>
#include <string>

namespace sys {

class LogStream {
  public:
    // What went wrong with the stream's file: it could not be opened (kOpen) or a write to it
    // failed (kWrite), its path as opened, and the errno.
    enum class Failure { kOpen, kWrite };
    using FailureHandler = std::function<void(Failure what, const std::string& path, int error)>;

    LogStream() = default;
    ~LogStream() { Close(); }
    LogStream(const LogStream&) = delete;
    LogStream& operator=(const LogStream&) = delete;

    // Opens `path` with an fopen mode ("a", "w"); a stream already open is closed first.
    // false when the file cannot be opened (the stream is then closed).
    bool Open(const std::string& path, const char* mode);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    // printf into the stream; nothing happens when it is closed. Returns the bytes written,
    // or -1 when closed or when the bytes did not reach the file (a full disk, say).
    int Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    int Write(const std::string& bytes);
    void Flush();

    // The handler hears of the first failed open or write of the stream's life, and of no
    // later one: a file that cannot be used is said once, however often it is reopened.
    void OnFirstFailure(FailureHandler handler) { onFailure_ = std::move(handler); }

  private:
    void Failed(Failure what, int error);

    std::FILE* file_ = nullptr;
    std::string path_;
    FailureHandler onFailure_;
    bool failureSaid_ = false;
};

}  // namespace sys
