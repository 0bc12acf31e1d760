#include "short_of_memory.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace
{

size_t gRefusedFrom = SIZE_MAX;

// Every form is replaced, so that what one form allocates another form's delete frees.
void* allocate(size_t size)
{
    return size < gRefusedFrom ? std::malloc(size ? size : 1) : nullptr;
}

void* allocate_or_throw(size_t size)
{
    if (void* memory = allocate(size))
        return memory;
    throw std::bad_alloc();
}

} // namespace

void* operator new(size_t size)
{
    return allocate_or_throw(size);
}
void* operator new[](size_t size)
{
    return allocate_or_throw(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, size_t) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, size_t) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

void short_of_memory(size_t refusedFrom, const std::function<void()>& fn)
{
    gRefusedFrom = refusedFrom;
    fn();
    gRefusedFrom = SIZE_MAX;
}
