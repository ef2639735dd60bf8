#pragma once
// Where things are: the running program's own directory (the other suite programs and the
// run-time resources sit beside it), the working directory, and plain existence checks.

#include <string>

namespace sys {

inline constexpr int kMakeDirCreated = 0;
inline constexpr int kMakeDirExisted = 1;         // already there as a directory
inline constexpr int kMakeDirFailed = -1;         // mkdir failed (missing parent, permissions)
inline constexpr int kMakeDirNotADirectory = -2;  // something other than a directory is there

// Directory of the running executable (from /proc/self/exe), without a trailing slash unless
// it is "/". Empty if the link cannot be read.
std::string ProgramDir();
// JoinPath(ProgramDir(), fileName); fileName unchanged when the program directory is unknown.
std::string FullPathBesideProgram(const std::string& fileName);
// dir + "/" + name, without doubling a slash dir already ends with; name alone when dir is empty.
std::string JoinPath(const std::string& dir, const std::string& name);

// The working directory; empty if it cannot be read (for example it has been removed).
std::string CurrentDir();
// 0 on success, -1 when the directory cannot be entered.
int ChangeDir(const std::string& dir);
// Creates one directory level (its parent must exist), mode 0777 less the umask.
// Returns one of the kMakeDir* codes above.
int MakeDir(const std::string& dir);
// True when path leads to a directory (links followed).
bool IsDirectory(const std::string& path);
// The target of the symbolic link at path, whatever its length; empty when it is no link or
// cannot be read.
std::string ReadLink(const std::string& path);
// True when something exists at path: a file, a directory or anything else. Symbolic links
// are followed, so a dangling link does not count.
bool FileExists(const std::string& path);

}  // namespace sys
