// The database's heap. Objects of up to 1 KiB come from size classes of 16
// bytes, larger ones up to 256 KiB (the database's id tables among them) from
// classes of whole 4 KiB pages, all carved in creation order out of large
// blocks of address space that the kernel may back with huge pages: a drawing
// of millions of entities then costs a few hundred page faults instead of a
// million. A freed object goes on its class's free list and its room is
// reused by the next object of the class; the blocks stay with the process,
// as a heap's do, so that the next drawing finds its room already mapped.
// Larger objects, and every object in a sanitizer build (so that the
// sanitizers see each allocation), go to the C++ heap.
#include "AcHeapOpers.h"

#include <cstdint>
#include <mutex>

#include <sys/mman.h>

#include "standin/AcDbStandin.h"

#if defined(__SANITIZE_ADDRESS__)
#define KV_HEAP_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define KV_HEAP_SANITIZED 1
#endif
#endif

namespace {

constexpr std::size_t kGrain = 16;
constexpr std::size_t kLargest = 1024;
constexpr std::size_t kClasses = kLargest / kGrain;
constexpr std::size_t kPage = 4096;
constexpr std::size_t kLargestPaged = std::size_t(256) << 10;
constexpr std::size_t kPagedClasses = kLargestPaged / kPage;
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kBlock = std::size_t(64) << 20;

std::size_t roomFor(std::size_t size)
{
    if (size == 0)
        return kGrain;
    if (size <= kLargest)
        return (size + kGrain - 1) / kGrain * kGrain;
    if (size <= kLargestPaged)
        return (size + kPage - 1) / kPage * kPage;
    return size;
}

struct FreeRoom {
    FreeRoom* next;
};

struct Heap {
    std::mutex mutex;
    FreeRoom* free[kClasses + 1] = {};
    FreeRoom* pagedFree[kPagedClasses + 1] = {};
    char* next = nullptr;
    char* end = nullptr;
    std::size_t inUse = 0;
};

// Never destroyed: objects may still be deleted while the process ends.
Heap& heap()
{
    static Heap* h = new Heap;
    return *h;
}

#ifndef KV_HEAP_SANITIZED
bool fromBlocks(std::size_t size)
{
    return size <= kLargestPaged;
}

// A block of kBlock bytes on a huge-page boundary, or nullptr.
char* newBlock()
{
    const std::size_t length = kBlock + kHugePage;
    void* p = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start)
        ::munmap(p, aligned - start);
    const std::uintptr_t tail = aligned + kBlock;
    if (start + length > tail)
        ::munmap(reinterpret_cast<void*>(tail), start + length - tail);
    ::madvise(reinterpret_cast<void*>(aligned), kBlock, MADV_HUGEPAGE);  // a hint only
    return reinterpret_cast<char*>(aligned);
}
#endif

void* allocate(std::size_t size) noexcept
{
    const std::size_t room = roomFor(size);
#ifdef KV_HEAP_SANITIZED
    void* p = ::operator new(size, std::nothrow);
    if (p != nullptr) {
        std::lock_guard<std::mutex> lock(heap().mutex);
        heap().inUse += room;
    }
    return p;
#else
    if (!fromBlocks(size)) {
        void* p = ::operator new(size, std::nothrow);
        if (p != nullptr) {
            std::lock_guard<std::mutex> lock(heap().mutex);
            heap().inUse += room;
        }
        return p;
    }
    Heap& h = heap();
    std::lock_guard<std::mutex> lock(h.mutex);
    FreeRoom*& list = size <= kLargest ? h.free[room / kGrain] : h.pagedFree[room / kPage];
    if (list != nullptr) {
        FreeRoom* r = list;
        list = r->next;
        if (list != nullptr)
            __builtin_prefetch(list, 1);  // the next object of the class goes there
        h.inUse += room;
        return r;
    }
    if (static_cast<std::size_t>(h.end - h.next) < room) {
        char* block = newBlock();
        if (block == nullptr)
            return nullptr;
        h.next = block;
        h.end = block + kBlock;
    }
    void* p = h.next;
    h.next += room;
    h.inUse += room;
    return p;
#endif
}

void release(void* p, std::size_t size) noexcept
{
    if (p == nullptr)
        return;
    const std::size_t room = roomFor(size);
    Heap& h = heap();
#ifndef KV_HEAP_SANITIZED
    if (fromBlocks(size)) {
        std::lock_guard<std::mutex> lock(h.mutex);
        FreeRoom* r = static_cast<FreeRoom*>(p);
        FreeRoom*& list = size <= kLargest ? h.free[room / kGrain] : h.pagedFree[room / kPage];
        r->next = list;
        list = r;
        h.inUse -= room;
        return;
    }
#endif
    {
        std::lock_guard<std::mutex> lock(h.mutex);
        h.inUse -= room;
    }
    ::operator delete(p);
}

}  // namespace

void* AcHeapOperators::operator new(std::size_t size)
{
    for (;;) {
        if (void* p = allocate(size))
            return p;
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr)
            throw std::bad_alloc();
        handler();
    }
}

void* AcHeapOperators::operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void AcHeapOperators::operator delete(void* p, std::size_t size) noexcept
{
    release(p, size);
}

void AcHeapOperators::operator delete(void* p, std::size_t size, const std::nothrow_t&) noexcept
{
    release(p, size);
}

namespace standin {

std::size_t objectHeapBytes()
{
    Heap& h = heap();
    std::lock_guard<std::mutex> lock(h.mutex);
    return h.inUse;
}

}  // namespace standin
