#pragma once

// FileAccess: the whole-file operations through which the program reads and
// writes its players' data (profiles, high scores, saved games). Readers and
// writers of those files take one, so that the application can stand
// between them and the disk: while a demo is recorded it notes every result,
// and while one plays back it answers from the recording instead of the
// disk. Disk() is the plain implementation on FileUtil, for tools and tests.

#include <cstddef>
#include <string>

namespace Zorvin {

class FileAccess {
public:
    virtual ~FileAccess() = default;

    // At most maxSize bytes of a regular file; false when it cannot be read.
    virtual bool ReadFile(const std::string& path, std::string& bytes, size_t maxSize) = 0;
    // Replaces the whole file atomically, making missing folders.
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool Delete(const std::string& path) = 0;
    // Moves a file within its folder, replacing the target in one step.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // Sets a copy of a damaged file aside, numbered so that no earlier copy
    // is replaced (FileUtil::KeepCopy); the copy's path, or "" when none
    // could be made.
    virtual std::string KeepCopy(const std::string& path) = 0;
    // Deletes what interrupted writes left behind (FileUtil::
    // RemoveStaleTemporaries, "*" patterns included). Nothing the program
    // reads depends on it.
    virtual void RemoveStaleTemporaries(const std::string& path) = 0;

    // The disk itself; lives as long as the process.
    static FileAccess& Disk();
};

} // namespace Zorvin
