#pragma once
// A text stream on a file, owned: the event log and the calibration trace are written through
// it. Bytes go out unchanged (the log is a Big5 byte stream). Every write is flushed before it
// returns, so the file holds everything written up to a crash or a kill.

#include <cstdio>
#include <string>

namespace conf {

class LogStream {
  public:
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

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace conf
