// JSON text written by hand where documents are big or their layout is part of a stable format.
#pragma once

#include <string>

// The JSON string literal of `text` (quotes, backslashes and control characters escaped), or null.
std::string json_quoted(const char* text);
std::string json_quoted(const std::string& text);
