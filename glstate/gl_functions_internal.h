// Inside the GL state layer: the table of GL entry points in use (the real one unless a test replaced it).
#pragma once

#include "glstate.h"

__attribute__((visibility("hidden"))) const GLStateFunctions& gls_gl();
