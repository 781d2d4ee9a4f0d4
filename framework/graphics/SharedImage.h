#pragma once

// Shared images: one loaded copy of each image file (and variant) however
// many users ask for it. The application keeps one SharedImageTable; a
// lookup hands out a counted SharedImageRef, copying a reference counts up
// and dropping one counts down. An image whose count has fallen to zero is
// not freed at once but by the table's clean-up pass, which the application
// runs with its logic updates, so a drawing in progress never loses its
// image. The table's lock guards the entries because the loading thread
// creates images while the primary thread draws.

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace Zorvin {

class MemoryImage;

// One entry of the table: the image and the number of live references.
struct SharedImage {
    std::unique_ptr<MemoryImage> image;
    std::atomic<int> refCount{0};
};

class SharedImageRef {
public:
    SharedImageRef() = default;
    explicit SharedImageRef(SharedImage* entry);
    SharedImageRef(const SharedImageRef& other);
    SharedImageRef(SharedImageRef&& other) noexcept;
    SharedImageRef& operator=(SharedImageRef other) noexcept;
    ~SharedImageRef();

    MemoryImage* Get() const;
    MemoryImage* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }
    // Drops the reference now.
    void Release();

private:
    SharedImage* entry = nullptr;
};

class SharedImageTable {
public:
    using Loader = std::function<std::unique_ptr<MemoryImage>(const std::string& file)>;

    SharedImageTable();
    SharedImageTable(const SharedImageTable&) = delete;
    SharedImageTable& operator=(const SharedImageTable&) = delete;
    // Every reference must be gone by now.
    ~SharedImageTable();

    // The image of (file, variant): the one already in the table, or a new
    // one made by `load` (then `created` is true). An empty reference when
    // the image is not in the table and does not load.
    SharedImageRef Get(const std::string& file, const std::string& variant, bool& created, const Loader& load);

    // Frees the images nobody refers to any more; returns how many.
    int CleanUp();
    int GetCount() const;

    // Held while images are created or freed; drawing code that must not see
    // an image disappear may hold it too.
    std::recursive_mutex& GetLock() { return lock; }

private:
    std::map<std::pair<std::string, std::string>, std::unique_ptr<SharedImage>> entries;
    mutable std::recursive_mutex lock;
};

} // namespace Zorvin
