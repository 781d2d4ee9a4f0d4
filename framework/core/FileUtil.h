#pragma once

// FileUtil: whole-file reads and atomic whole-file writes. Every file the
// program writes goes through WriteFileAtomic: the bytes land in a
// temporary file with a unique name beside the target, file and folder are
// flushed to disk and the temporary is renamed over the target, so a crash
// or a full disk leaves either the old or the new file, never a mix.
// Missing folders on the way are created if asked. Reads and writes accept only
// regular files: a folder, device or pipe is neither read as empty nor
// replaced.

#include <cstddef>
#include <string>

namespace Zorvin {

class FileUtil {
public:
    // Reads at most maxSize bytes; false when the path is not a regular
    // file or cannot be opened.
    static bool ReadFile(const std::string& path, std::string& out, size_t maxSize = 256u << 20);
    // Replaces the file's contents. A symbolic link is followed and its
    // final target replaced (the link stays); a target that exists but is
    // not a regular file is refused. Keeps an existing file's permissions.
    // Missing folders are made unless makeFolders is false (then the write
    // fails, as a mistyped export path should).
    static bool WriteFileAtomic(const std::string& path, const std::string& data, bool makeFolders = true);
    // Deletes the temporaries WriteFileAtomic left beside the path when the
    // writing process died before the rename. Temporaries of processes
    // still running are kept: they may be in the middle of a write. A file
    // name starting with "*" stands for every file of the folder whose name
    // ends with the rest ("saves/*.sav"); a plain name follows a symbolic
    // link to where its temporaries are made.
    static void RemoveStaleTemporaries(const std::string& path);
    // Puts a copy of the file aside under the first free name of
    // path + ".bad", ".bad2", ".bad3", ...: an earlier copy is never
    // replaced, and the file itself stays where it is. The copy is a hard
    // link where the file system allows one (no bytes copied, so even a
    // huge file is kept whole), otherwise a copy of the bytes. Returns the
    // copy's path, or "" when none could be made.
    static std::string KeepCopy(const std::string& path);
    static bool IsRegularFile(const std::string& path);
    static bool Exists(const std::string& path);
    static bool Delete(const std::string& path);
    // Creates the folder and its missing parents; true when it exists after.
    static bool CreateFolders(const std::string& folder);
    // The part before the last "/" or "\\" ("" when there is none).
    static std::string FolderOf(const std::string& path);
};

} // namespace Zorvin
