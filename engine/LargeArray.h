#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <vector>

namespace kv::engine
{

// Memory for arrays of millions of entries, in 2 MiB pages where the system
// gives them on request (transparent huge pages in "madvise" mode): filling
// a rank column of three million rows otherwise takes tens of thousands of
// page faults, which cost more than reading the rows.
template <typename T> struct LargeArrayAllocator {
    using value_type = T;
    static constexpr std::size_t kPage = std::size_t(2) << 20;

    LargeArrayAllocator() = default;
    template <typename U>
    LargeArrayAllocator(const LargeArrayAllocator<U>&) noexcept // NOLINT: rebinding
    {
    }

    T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kPage)
            return static_cast<T*>(::operator new(bytes));
        const std::size_t rounded = (bytes + kPage - 1) / kPage * kPage;
        void* p = std::aligned_alloc(kPage, rounded);
        if (!p)
            throw std::bad_alloc();
        madvise(p, rounded, MADV_HUGEPAGE); // a hint: without it the pages are small
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t n) noexcept
    {
        if (n * sizeof(T) < kPage)
            ::operator delete(p);
        else
            std::free(p);
    }
    template <typename U> bool operator==(const LargeArrayAllocator<U>&) const noexcept
    {
        return true;
    }
};

template <typename T> using LargeArray = std::vector<T, LargeArrayAllocator<T>>;

} // namespace kv::engine
