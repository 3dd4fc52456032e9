// The drawing database's own heap. A class that derives from AcHeapOperators
// (every AcDbObject does) is allocated there by its own new and delete.
#pragma once

#include <cstddef>
#include <new>

class AcHeapOperators {
public:
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* p, std::size_t size) noexcept;
    static void operator delete(void* p, std::size_t size, const std::nothrow_t&) noexcept;
    // Construction in place, as with the global forms.
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void*, void*) noexcept {}
};
