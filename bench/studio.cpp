// What the studio costs the player, and how fast it answers the page.
//
//   FrameWithStream     the studio's part of one frame (publish the state, run the waiting requests) while
//                       a page streams /api/events over loopback (target: at most 0.2 ms)
//   DocumentJson        the JSON of a document of 10,000 events of 12 parameters (target, with the
//                       request around it: under 100 ms)
//   DocumentOverHttp    GET /api/document of that document over loopback, answered by a frame loop
//                       running at 60 frames a second (the wait for the next frame included)
//   Curve10k            GET /api/curve's values: 10,000 samples of a bez multi (target: under 20 ms)
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <atomic>
#include <thread>

#include "param_eval.h"
#include "studio/studio_document.h"
#include "studio/studio_link.h"
#include "studio/studio_server.h"

namespace
{

Param multi(std::vector<int32_t> keys, uint32_t length, int32_t interpolation)
{
    Param param;
    param.kind = kParamMulti;
    param.interpolation = interpolation;
    param.keys = std::move(keys);
    param.lengths.assign(param.keys.size() - 1, length);
    finalize_multi(param);
    return param;
}

// 10,000 events on 20 tracks: 8 constants, a sine and three multis each.
Demo big_demo()
{
    Demo demo;
    demo.runningTime = 1000000;
    LibraryRecord library;
    library.fileName = "Scaffold.so";
    library.functions.push_back(
        {"Cube3D",
         {"size", "red", "green", "blue", "x", "y", "z", "qa", "qb", "qc", "qd", "alpha"},
         nullptr});
    demo.libraries.push_back(library);
    demo.tracks.resize(20);
    for (int e = 0; e < 10000; ++e) {
        Event event;
        event.functionName = "Cube3D";
        event.libraryFileName = "Scaffold.so";
        event.startTime = uint32_t(e / 20) * 2000;
        event.endTime = event.startTime + 1990;
        for (int p = 0; p < 8; ++p) {
            Param constant;
            constant.value = 1000 * p;
            event.params.push_back(std::move(constant));
        }
        Param sine;
        sine.kind = kParamSine;
        sine.ampli = 100;
        sine.period = 2000;
        event.params.push_back(std::move(sine));
        for (int m = 0; m < 3; ++m)
            event.params.push_back(multi({0, 255, 128, 0}, 600, kInterpolBez));
        demo.tracks[size_t(e % 20)].events.push_back(std::move(event));
    }
    return demo;
}

const Demo& shared_demo()
{
    static const Demo demo = big_demo();
    return demo;
}

void DocumentJson(benchmark::State& state)
{
    const Demo& demo = shared_demo();
    DocumentExtras extras;
    size_t bytes = 0;
    for (auto _ : state) {
        std::string json = document_json(demo, "big.xml", 1, extras);
        bytes = json.size();
        benchmark::DoNotOptimize(json);
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(DocumentJson)->Unit(benchmark::kMillisecond);

// A server whose requests a stand-in frame loop answers `fps` times a second.
class ServedStudio
{
public:
    explicit ServedStudio(int fps)
        : server_(
              link_,
              [](const StudioRequest& request, StudioResponder responder) {
                  if (request.path == "/api/document")
                      responder->set_value(
                          {200, document_json(shared_demo(), "big.xml", 1, DocumentExtras{})});
                  else
                      responder->set_value(studio_error(404, "no"));
              },
              0, "."),
          frames_([this, fps] {
              while (!stop_) {
                  link_.publish(StudioState{});
                  link_.run_jobs();
                  std::this_thread::sleep_for(std::chrono::microseconds(1000000 / fps));
              }
          })
    {
    }
    ~ServedStudio()
    {
        stop_ = true;
        frames_.join();
    }
    httplib::Client client() const
    {
        httplib::Client c("127.0.0.1", server_.port());
        c.set_default_headers({{"X-Vortel-Token", server_.token()}});
        return c;
    }
    StudioLink& link() { return link_; }

private:
    StudioLink link_;
    StudioServer server_;
    std::atomic<bool> stop_{false};
    std::thread frames_;
};

void DocumentOverHttp(benchmark::State& state)
{
    ServedStudio studio(60);
    httplib::Client c = studio.client();
    for (auto _ : state) {
        auto reply = c.Get("/api/document");
        if (!reply || reply->status != 200)
            state.SkipWithError("GET /api/document failed");
    }
}
BENCHMARK(DocumentOverHttp)->Unit(benchmark::kMillisecond)->UseRealTime();

void FrameWithStream(benchmark::State& state)
{
    StudioLink link;
    StudioServer server(
        link,
        [](const StudioRequest&, StudioResponder r) {
            r->set_value({200, "{}"});
        },
        0, ".");
    std::atomic<bool> stop{false};
    std::atomic<int> messages{0};
    std::thread page([&] {
        httplib::Client c("127.0.0.1", server.port());
        c.set_default_headers({{"X-Vortel-Token", server.token()}});
        c.Get("/api/events", [&](const char*, size_t) {
            ++messages;
            return !stop;
        });
    });
    StudioState frame;
    for (auto _ : state) {
        frame.time += 16;
        link.publish(frame);
        link.run_jobs();
    }
    stop = true;
    state.counters["messages"] = double(messages.load());
    link.close(); // ends the stream
    page.join();
}
BENCHMARK(FrameWithStream)->Unit(benchmark::kMicrosecond)->UseRealTime();

void Curve10k(benchmark::State& state)
{
    Demo demo;
    Event event;
    event.startTime = 0;
    event.endTime = 100000;
    event.params.push_back(multi({0, 1000, -500, 2000, 0, 300, 900, 0, 100, 50, 0}, 10000, kInterpolBez));
    demo.tracks.resize(1);
    demo.tracks[0].events.push_back(std::move(event));
    for (auto _ : state)
        benchmark::DoNotOptimize(curve_json(demo, 0, 0, 0, 10));
}
BENCHMARK(Curve10k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
