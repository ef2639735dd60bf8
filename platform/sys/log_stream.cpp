#include "platform/sys/log_stream.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "platform/sys/small_file.h"

namespace sys {

bool LogStream::Open(const std::string& path, const char* mode) {
    Close();
    path_ = path;
    file_ = sys::OpenForWriting(path, std::strchr(mode, 'a') != nullptr);
    if (!file_) Failed(Failure::kOpen, errno);
    return file_ != nullptr;
}

void LogStream::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

int LogStream::Printf(const char* format, ...) {
    if (!file_) return -1;
    va_list args;
    va_start(args, format);
    int n = std::vfprintf(file_, format, args);
    va_end(args);
    if (n < 0 || std::fflush(file_) != 0) {
        Failed(Failure::kWrite, errno);
        return -1;
    }
    return n;
}

int LogStream::Write(const std::string& bytes) {
    if (!file_) return -1;
    size_t n = std::fwrite(bytes.data(), 1, bytes.size(), file_);
    if (std::fflush(file_) != 0 || n != bytes.size()) {
        Failed(Failure::kWrite, errno);
        return -1;
    }
    return static_cast<int>(n);
}

void LogStream::Flush() {
    if (file_ && std::fflush(file_) != 0) Failed(Failure::kWrite, errno);
}

void LogStream::Failed(Failure what, int error) {
    if (failureSaid_ || !onFailure_) return;
    // Marked before the handler runs: a popup's own event loop may write to the log again.
    failureSaid_ = true;
    onFailure_(what, path_, error);
}

}  // namespace sys
