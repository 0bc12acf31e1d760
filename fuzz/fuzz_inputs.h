// What each fuzz target does with one input, callable on its own so that the tests in tests/bad_input
// replay the seed corpora and every input that once crashed, under the sanitizers of the test build.
// Each returns 0; a fault shows as a sanitizer report or a trap.
#pragma once

#include <cstddef>
#include <cstdint>

int demo_loader_input(const uint8_t* data, size_t size);
int param_eval_input(const uint8_t* data, size_t size);
int data_file_input(const uint8_t* data, size_t size);
int obj_reader_input(const uint8_t* data, size_t size);
int mtl_reader_input(const uint8_t* data, size_t size);
int flame_file_input(const uint8_t* data, size_t size);
int flame_ani_input(const uint8_t* data, size_t size);
int beat_file_input(const uint8_t* data, size_t size);
int picture_decode_input(const uint8_t* data, size_t size);

// Each *_fuzz.cpp defines the libFuzzer entry point over its function, unless built into the replay tests.
#ifdef VORTEL_FUZZ_REPLAY
#define VORTEL_FUZZ_ENTRY(function)
#else
#define VORTEL_FUZZ_ENTRY(function)                                                                          \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)                                  \
    {                                                                                                        \
        return function(data, size);                                                                         \
    }
#endif
