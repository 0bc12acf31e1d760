// The viewer ends the demo: Escape or closing the window stops it after the current frame, and the run
// counts as a success. The events are sent to the player's window from here, through the X server.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <chrono>
#include <cstring>
#include <regex>
#include <thread>

#include "player_runner.h"

namespace
{

// Other tests' windows come and go on the same X server while this one looks at them: a window gone
// between the listing and the question is an X error, which must not end the test program.
int ignore_x_error(Display*, XErrorEvent*)
{
    return 0;
}

// The top-level window titled "Vortel" of the given size, or 0 when there is none (yet). Tests running
// at the same time on the same X server use other sizes.
Window find_player_window(Display* display, int width, int height)
{
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            XWindowAttributes attributes{};
            if (std::strcmp(name, "Vortel") == 0 && XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.width == width && attributes.height == height)
                found = children[i];
            XFree(name);
        }
    }
    if (children)
        XFree(children);
    return found;
}

void send_escape(Display* display, Window window)
{
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = display;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.same_screen = True;
    event.xkey.keycode = XKeysymToKeycode(display, XK_Escape);
    XSendEvent(display, window, False, KeyPressMask, &event);
}

void send_close(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
}

// Plays a one-minute probe demo in real time and, once its window is up and a frame has been drawn,
// sends it what `send` sends.
PlayerRun play_and_interrupt(const std::string& name, int width, int height, void (*send)(Display*, Window))
{
    std::string folder = fresh_folder(name);
    write_file(folder, "demo.xml",
               probe_demo("RunningTime=\"60000\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\"",
                          "<Library FileName=\"Probe.so\"><F Name=\"Probe\"/></Library>",
                          "<Track><E LibraryFileName=\"Probe.so\" FunctionName=\"Probe\" StartTime=\"0\" "
                          "EndTime=\"60000\"><param type=\"const\" val=\"1\"/></E></Track>"));
    std::thread viewer([send, width, height] {
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            return;
        XSetErrorHandler(ignore_x_error);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        Window window = 0;
        while (!window && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            window = find_player_window(display, width, height);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        if (window)
            send(display, window);
        XCloseDisplay(display);
    });
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    PlayerRun run = run_player_in(folder, {"--no-setup", "--size", size, "demo.xml"});
    viewer.join();
    return run;
}

// The demo time of the last running call in the log.
int last_running_time(const PlayerRun& run)
{
    static const std::regex call(R"(^probe Probe phase=1 local=(\d+) )");
    int last = -1;
    for (const std::string& line : run.lines()) {
        std::smatch m;
        if (std::regex_search(line, m, call))
            last = std::stoi(m[1].str());
    }
    return last;
}

TEST(WindowEvents, EscapeEndsTheDemoWithStatusZero)
{
    PlayerRun run = play_and_interrupt("escape", 65, 49, send_escape);
    EXPECT_EQ(run.status, 0) << run.log;
    int last = last_running_time(run);
    EXPECT_GE(last, 0);
    EXPECT_LT(last, 40000) << "ended long before RunningTime";
    EXPECT_NE(run.find_line("probe Vortel_Quit"), -1);
    EXPECT_EQ(run.lines_starting("probe Probe phase=-1").size(), 0u) << "no last call for the active event";
}

TEST(WindowEvents, ClosingTheWindowEndsTheDemoWithStatusZero)
{
    PlayerRun run = play_and_interrupt("close", 67, 51, send_close);
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_LT(last_running_time(run), 40000);
    EXPECT_NE(run.find_line("probe Vortel_Quit"), -1);
}

} // namespace
