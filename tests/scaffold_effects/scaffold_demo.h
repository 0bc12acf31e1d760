// Small demo documents around the Scaffold plug-in (and Paint, for flat test pictures), for end-to-end
// runs of the real player.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One event of `library` ("Scaffold.so" or "Paint.so") with constant arguments.
std::string event(const std::string& function, int32_t start, int32_t end, const std::vector<int32_t>& args,
                  const std::string& library = "Scaffold.so");
// An event whose arguments are given as ready <param .../> elements.
std::string event_xml(const std::string& function, int32_t start, int32_t end, const std::string& params,
                      const std::string& library = "Scaffold.so");
std::string track(const std::vector<std::string>& events);
// A whole document: Scaffold and Paint (and Swarms, and Media for pictures, when asked) declared, the
// tracks (track 0 first: it runs last), the texts (index 0 is a placeholder so that real names start at 1)
// and extra Settings attributes.
std::string scaffold_demo(int32_t runningTime, const std::vector<std::string>& tracks,
                          const std::vector<std::string>& texts = {}, const std::string& settings = "",
                          bool withSwarms = false, bool withMedia = false);

// GL blend factors for Background.
constexpr int32_t kGLOne = 1, kGLZero = 0;
constexpr int32_t kUnit = 100000; // quaternion component / scale 1.0
