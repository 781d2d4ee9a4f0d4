#include "framework/graphics/SharedImage.h"

#include "framework/graphics/MemoryImage.h"

namespace Zorvin {

SharedImageRef::SharedImageRef(SharedImage* e) : entry(e)
{
    if (entry)
        entry->refCount.fetch_add(1);
}

SharedImageRef::SharedImageRef(const SharedImageRef& other) : SharedImageRef(other.entry) {}

SharedImageRef::SharedImageRef(SharedImageRef&& other) noexcept : entry(std::exchange(other.entry, nullptr)) {}

SharedImageRef& SharedImageRef::operator=(SharedImageRef other) noexcept
{
    std::swap(entry, other.entry);
    return *this;
}

SharedImageRef::~SharedImageRef() { Release(); }

MemoryImage* SharedImageRef::Get() const { return entry ? entry->image.get() : nullptr; }

void SharedImageRef::Release()
{
    if (entry)
        entry->refCount.fetch_sub(1);
    entry = nullptr;
}

SharedImageTable::SharedImageTable() = default;

SharedImageTable::~SharedImageTable() = default;

SharedImageRef SharedImageTable::Get(const std::string& file, const std::string& variant, bool& created,
                                     const Loader& load)
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    created = false;
    auto key = std::make_pair(file, variant);
    auto it = entries.find(key);
    if (it != entries.end())
        return SharedImageRef(it->second.get());
    std::unique_ptr<MemoryImage> image = load ? load(file) : nullptr;
    if (!image)
        return SharedImageRef();
    auto entry = std::make_unique<SharedImage>();
    entry->image = std::move(image);
    SharedImageRef ref(entry.get());
    entries.emplace(std::move(key), std::move(entry));
    created = true;
    return ref;
}

int SharedImageTable::CleanUp()
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    int freed = 0;
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->second->refCount.load() <= 0) {
            it = entries.erase(it);
            ++freed;
        } else {
            ++it;
        }
    }
    return freed;
}

int SharedImageTable::GetCount() const
{
    std::lock_guard<std::recursive_mutex> hold(lock);
    return static_cast<int>(entries.size());
}

} // namespace Zorvin
