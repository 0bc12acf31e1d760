// Compares what real GL reports (glGet*) with the top entries of a GL state cache.
#pragma once

#include <string>
#include <vector>

#include "glstate.h"

// One line per value in which GL and the cache disagree; empty when they agree everywhere.
// Clip planes are compared as GL stores them (in eye coordinates), which equals the cached equation
// while the modelview matrix is the identity.
std::vector<std::string> gl_cache_differences(const GLStateContext& ctx);
