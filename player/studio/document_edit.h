// Stand-in until the document editor lands: every edit is refused.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
struct Key { uint32_t time; int32_t value; };
inline bool set_event_times(std::string&, size_t, size_t, uint32_t, uint32_t, std::string* e) { *e = "stub"; return false; }
inline bool set_param_keys(std::string&, size_t, size_t, size_t, const std::vector<Key>&, std::string* e) { *e = "stub"; return false; }
inline bool set_param_value(std::string&, size_t, size_t, size_t, int32_t, std::string* e) { *e = "stub"; return false; }
