#pragma once
// Settings files, switch files and the programs' own output files, opened so that whatever a
// technician (or a mistake) puts at their names cannot hold the program: every open is
// non-blocking (a FIFO without a peer fails at once instead of waiting forever), a file read
// for its settings must be a regular file (checked on the opened descriptor, not by a name
// lookup before the open) and is read only as far as its fields can go.

#include <cstddef>
#include <cstdio>
#include <string>

namespace sys {

// Results of the readers besides 0.
inline constexpr int kFileMissing = -1;     // nothing at the path (ENOENT, or a dangling link)
inline constexpr int kFileNotRegular = -2;  // a folder, FIFO, device or socket
inline constexpr int kFileUnreadable = -3;  // the open or the read failed otherwise

// Reads at most maxBytes from the start of the regular file at path into *text (replaced).
// 0, or one of the codes above; *error (when given) gets the errno of the failure, 0 for
// kFileNotRegular.
int ReadFileHead(const std::string& path, std::size_t maxBytes, std::string* text,
                 int* error = nullptr);
// What a reader's result means, for a log line: "No such file or directory", "not a regular
// file", or the system's text of the error. Empty for 0.
std::string FileProblemText(int code, int error);

// The regular file at path opened for reading as a stream; nullptr with *code set to one of
// the codes above (and errno to the failure) otherwise.
std::FILE* OpenRegularForReading(const std::string& path, int* code);

// Opens path for writing as fopen does with "w" (append false: created or emptied) or "a"
// (created or appended to), but never waits: a FIFO without a reader fails at once (ENXIO).
// Anything else the system opens for writing is taken, a regular file or a device such as
// /dev/null. nullptr with errno set on failure; the stream then blocks as fopen's would.
std::FILE* OpenForWriting(const std::string& path, bool append);

// Replaces the content of path with bytes, whole or not at all (FileReplacement). 0, or -1
// with errno set when the new file could not be created (*created false) or the bytes did not
// all reach it (*created true); the old file then stays.
int WriteWholeFile(const std::string& path, const std::string& bytes, bool* created = nullptr);

}  // namespace sys
