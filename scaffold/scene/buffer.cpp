#include "buffer.h"

#include <cassert>
#include <cstring>

namespace
{

char* allocate(uint32_t capacity)
{
    return new char[capacity];
}

} // namespace

Buffer::Buffer(uint32_t n) : data(allocate(n + 1)), capacity(n + 1), length(0) {}

Buffer::Buffer(const char* s, uint32_t n) : data(allocate(n + 1)), capacity(n + 1), length(n)
{
    if (s)
        std::memcpy(data, s, n);
    else
        std::memset(data, 0, n);
}

Buffer::Buffer(const char* s)
{
    if (!s) {
        capacity = 10;
        length = 0;
        data = allocate(capacity);
        return;
    }
    length = uint32_t(std::strlen(s));
    capacity = length + 1;
    data = allocate(capacity);
    std::memcpy(data, s, length);
}

Buffer::Buffer(const Buffer& other)
    : data(allocate(other.capacity)), capacity(other.capacity), length(other.length)
{
    std::memcpy(data, other.data, length);
}

Buffer& Buffer::operator=(const Buffer& other)
{
    if (this == &other)
        return *this;
    char* copy = allocate(other.capacity);
    std::memcpy(copy, other.data, other.length);
    delete[] data;
    data = copy;
    capacity = other.capacity;
    length = other.length;
    return *this;
}

Buffer::~Buffer()
{
    delete[] data;
}

bool Buffer::operator==(const Buffer& other) const
{
    return length == other.length && std::memcmp(data, other.data, length) == 0;
}

char& Buffer::operator[](uint32_t i)
{
    assert(i < length && "Buffer::operator[]: index beyond the length");
    if (i >= length) {
        // The terminator's place is always allocated and holds no content.
        data[length] = 0;
        return data[length];
    }
    return data[i];
}

void Buffer::Add(const char* s)
{
    if (!s)
        return;
    const uint32_t n = uint32_t(std::strlen(s));
    if (capacity - length - 1 < n) {
        const uint64_t grown = ((uint64_t(capacity) * 3 + uint64_t(n) * 3) >> 1) + 2;
        char* bigger = allocate(uint32_t(grown));
        std::memcpy(bigger, data, length);
        delete[] data;
        data = bigger;
        capacity = uint32_t(grown);
    }
    std::memcpy(data + length, s, n);
    length += n;
}

int32_t Buffer::Find(const Buffer& needle, uint32_t from) const
{
    if (needle.length == 0 || length == 0 || from >= length || needle.length > length)
        return -1;
    for (uint32_t p = from; p <= length - needle.length; ++p)
        if (std::memcmp(data + p, needle.data, needle.length) == 0)
            return int32_t(p);
    return -1;
}

const char* Buffer::PtrC() const
{
    data[length] = 0;
    return data;
}
