// Small demo documents for the Scaffold and Swarms plug-ins, written out for one run of the real player.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One event: a function of Scaffold.so or Swarms.so (told apart by name) with constant argument words.
struct FixtureEvent {
    std::string function;
    int32_t start, end;
    std::vector<int32_t> words;
};

// A document with the given RunningTime, the tracks in the order they work in a frame (the first one
// runs first, so it is written last) and the texts (index 0 is a placeholder: names start at 1). Every
// function used is declared with as many words as its events give.
std::string fixture_document(int32_t runningTime, const std::vector<std::vector<FixtureEvent>>& tracks,
                             const std::vector<std::string>& texts);

constexpr int32_t kOne = 100000;   // scale or quaternion component 1.0
constexpr int32_t kUnit = 1000;    // one scene unit as a position word
constexpr int32_t kAspect = 17778; // 16:9, x 0.0001
