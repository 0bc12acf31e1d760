// A GLStateFunctions table that records every call instead of (or before) reaching GL.
#pragma once

#include <string>
#include <vector>

#include "glstate.h"

struct RecordedCall {
    std::string name;
    std::vector<double> args;
    std::string str() const; // "Name(a,b,...)" with %g numbers
};

// Calls recorded since the last clear. forwardToGL: also pass each call on to the real GL.
std::vector<RecordedCall>& recorded_calls();
std::vector<std::string> recorded_call_strings();
const GLStateFunctions* recording_functions(bool forwardToGL);
