#include "framework/core/FileAccess.h"

#include "framework/core/FileUtil.h"

#include <cstdio>

namespace Zorvin {

namespace {

class DiskFileAccess : public FileAccess {
public:
    bool ReadFile(const std::string& path, std::string& bytes, size_t maxSize) override
    {
        return FileUtil::ReadFile(path, bytes, maxSize);
    }
    bool WriteFile(const std::string& path, const std::string& bytes) override
    {
        return FileUtil::WriteFileAtomic(path, bytes);
    }
    bool Exists(const std::string& path) override { return FileUtil::Exists(path); }
    bool Delete(const std::string& path) override { return FileUtil::Delete(path); }
    bool Rename(const std::string& from, const std::string& to) override
    {
        return std::rename(from.c_str(), to.c_str()) == 0;
    }
    std::string KeepCopy(const std::string& path) override { return FileUtil::KeepCopy(path); }
    void RemoveStaleTemporaries(const std::string& path) override { FileUtil::RemoveStaleTemporaries(path); }
};

} // namespace

FileAccess& FileAccess::Disk()
{
    static DiskFileAccess disk;
    return disk;
}

} // namespace Zorvin
