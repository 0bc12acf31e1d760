// Buffer: a growable byte string with an explicit length, used for names and text building.
//
// Contracts
//  - The bytes are not terminated except by PtrC, which writes a 0 after the last byte; there is always
//    room for it (capacity >= length + 1).
//  - Bytes may include zeros; length counts them.
//  - operator[] with an index at or beyond length is a caller error: it asserts in debug builds; in
//    release builds it returns a scratch byte past the contents (reads give 0, writes change nothing
//    that belongs to the buffer).
//  - Sizes and positions are 32-bit; Find answers -1 when there is no match.
#pragma once

#include <cstdint>

class Buffer
{
public:
    explicit Buffer(uint32_t n);       // empty, capacity n + 1
    Buffer(const char* s, uint32_t n); // the n bytes at s (a null s gives n zero bytes)
    Buffer(const char* s);             // s up to its terminator; null: empty, capacity 10
    Buffer(const Buffer& other);
    Buffer& operator=(const Buffer& other);
    ~Buffer();

    bool operator==(const Buffer& other) const;
    char& operator[](uint32_t i);

    // Appends the bytes of s without its terminator; a null s appends nothing.
    void Add(const char* s);
    // Lowest position p >= from at which needle's bytes occur (p + needle length <= length); -1 when
    // there is none, when either buffer is empty or when from >= length.
    int32_t Find(const Buffer& needle, uint32_t from) const;
    // The bytes followed by a 0. Valid until the buffer changes or dies.
    const char* PtrC() const;

    char* data;        // owned
    uint32_t capacity; // allocated bytes
    uint32_t length;   // bytes in use
};
