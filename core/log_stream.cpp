#include "core/log_stream.h"

#include <cstdarg>

namespace conf {

bool LogStream::Open(const std::string& path, const char* mode) {
    Close();
    file_ = std::fopen(path.c_str(), mode);
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
    if (std::fflush(file_) != 0) return -1;
    return n;
}

int LogStream::Write(const std::string& bytes) {
    if (!file_) return -1;
    size_t n = std::fwrite(bytes.data(), 1, bytes.size(), file_);
    if (std::fflush(file_) != 0) return -1;
    return n == bytes.size() ? static_cast<int>(n) : -1;
}

void LogStream::Flush() {
    if (file_) std::fflush(file_);
}

}  // namespace conf
