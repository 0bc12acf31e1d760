// Every text the GUI toolkit, the painter and the fonts raise or log, in one place.
#pragma once

namespace gui_msg
{
// Fonts
constexpr const char* kFreeTypeInit = "Could not initialize FreeType2 Library: Error %d\n";
constexpr const char* kUnsupportedFormat = "Font %s is in an unsupported font format!\n";
constexpr const char* kOpenError = "Error %d during opening of font %s!\n";
constexpr const char* kSetSize = "Couldn't set size %d for font %s!\n";
constexpr const char* kNoMemory = "Not enough memory to load font %s!\n";
constexpr const char* kTooManyFonts = "Too much fonts used simultaneously!\n";
// Clip stack
constexpr const char* kClipOverflow = "Too many clip areas pushed in GUIPainter!\n";
constexpr const char* kClipUnderflow = "Pop on empty clip stack in GUIPainter!\n";
// Handler stack
constexpr const char* kStackOverflow = "Too much GUIContainers stacked in GUISDLHandler!";
constexpr const char* kStackUnderflow = "Pop on empty stack in GUISDLHandler!";
constexpr const char* kStackBadIndex = "GetUI on empty stack in GUISDLHandler!";
// Setup window
constexpr const char* kSetupWindowFailed =
    "We couldn't initialize the setup window. We'll just continue with the settings in the SDL.ini file, "
    "and hope we can initialize a window for the demo...\n";
} // namespace gui_msg
