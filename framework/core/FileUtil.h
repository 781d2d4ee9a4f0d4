#pragma once

// FileUtil: whole-file reads and atomic whole-file writes. Every file the
// program writes goes through WriteFileAtomic: the bytes land in a
// temporary file beside the target, are flushed to disk and then renamed
// over it, so a crash or a full disk leaves either the old or the new file,
// never a mix. Missing folders on the way are created.

#include <cstddef>
#include <string>

namespace Zorvin {

class FileUtil {
public:
    // Reads at most maxSize bytes; false when the file cannot be opened.
    static bool ReadFile(const std::string& path, std::string& out, size_t maxSize = 256u << 20);
    static bool WriteFileAtomic(const std::string& path, const std::string& data);
    static bool Exists(const std::string& path);
    static bool Delete(const std::string& path);
    // Creates the folder and its missing parents; true when it exists after.
    static bool CreateFolders(const std::string& folder);
    // The part before the last "/" or "\\" ("" when there is none).
    static std::string FolderOf(const std::string& path);
};

} // namespace Zorvin
