// The demo's texts, by number: what GetText serves and what the registry's requests by index name.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The texts served from now on. The vector must outlive every call; null means no texts.
void set_texts(const std::vector<std::string>* texts);
// Text number `index`, or null when index < 0 or >= the number of texts.
const char* GetText(int32_t index);
