#pragma once
// A file rewritten as a whole is written beside its name and put in place only when every byte
// is on the disk: a kill, a full disk or a power cut in the middle leaves the old file as it
// was, never a file cut short.
//
// The new content goes to ".NAME.PID.part" in the file's own folder (so the rename stays on one
// file system), is flushed and synced, renamed over NAME, and the folder is synced. A link at
// the name is followed: the file it points to is replaced and the link stays. What is at the
// name and is not a regular file (a device such as /dev/null, a FIFO) is written in place as
// before, without waiting for a FIFO's reader. Leftovers of a killed run are removed by the next
// save of the same file; their names never match the names the programs read.

#include <cstdio>
#include <string>

namespace sys {

class FileReplacement {
  public:
    // Opens the temporary file. opened() tells whether that worked (errno kept otherwise).
    explicit FileReplacement(const std::string& path);
    // Without Commit() the temporary file is removed and the old file stays.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool opened() const { return stream_ != nullptr; }
    std::FILE* get() const { return stream_; }
    // Puts the written file in place of the old one. 0, or -1 with errno set; on -1 the old file
    // is untouched (written in place: the bytes did not all reach it).
    int Commit();

  private:
    void Abandon();

    std::string target_;  // the file that is replaced
    std::string temp_;    // empty when writing in place
    std::FILE* stream_ = nullptr;
};

}  // namespace sys
