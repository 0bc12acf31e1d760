// The studio's HTTP interface, spoken to over loopback while the real player plays docs/example.xml.
#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <regex>
#include <thread>

#include "player_runner.h"

using nlohmann::json;

namespace
{

// A player serving the studio on a copy of the example, in its own folder; Escape ends it.
class Studio
{
public:
    // With `music`, the example plays tests/fixtures/chord.ogg.
    explicit Studio(const std::string& name, bool music = false) : folder_(fresh_folder(name))
    {
        std::string example = file_text(std::string(VORTEL_SOURCE_DIR) + "/docs/example.xml");
        if (music) {
            const std::string settings = "<Settings RunningTime=\"8000\"";
            example.replace(example.find(settings), settings.size(),
                            settings + " InputMusicFile=\"chord.ogg\"");
            write_file(folder_, "chord.ogg", file_text(fixture("chord.ogg")));
        }
        write_file(folder_, "demo.xml", example);
        write_file(folder_, "example.beat", file_text(std::string(VORTEL_SOURCE_DIR) + "/docs/example.beat"));
        write_file(folder_, "keys.txt", "");
        player_ = start_player_in(folder_, {"--studio", "0", "--size", "320x240", "demo.xml"},
                                  {{"VORTEL_DEV_SCRIPT", folder_ + "/keys.txt"}});
        ok_ = wait_for_log(player_, "Studio: serving on");
        std::smatch m;
        const std::string err = file_text(folder_ + "/stderr.txt");
        static const std::regex address(R"(Studio: http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32})\n)");
        ok_ = ok_ && std::regex_search(err, m, address);
        if (ok_) {
            port_ = std::stoi(m[1]);
            token_ = m[2];
        }
    }
    ~Studio()
    {
        append_file(folder_, "keys.txt", "0 escape\n");
        finish_player(player_, 30);
    }

    bool ok() const { return ok_; }
    int port() const { return port_; }
    const std::string& token() const { return token_; }
    const std::string& folder() const { return folder_; }
    std::string document() const { return file_text(folder_ + "/demo.xml"); }

    httplib::Client client() const
    {
        httplib::Client c("127.0.0.1", port_);
        c.set_default_headers({{"X-Vortel-Token", token_}});
        c.set_read_timeout(30);
        return c;
    }
    json get(const std::string& path, int expected = 200) const
    {
        auto c = client();
        auto r = c.Get(path.c_str());
        EXPECT_TRUE(r) << path;
        if (!r)
            return json();
        EXPECT_EQ(r->status, expected) << path << ": " << r->body;
        EXPECT_EQ(r->get_header_value("Content-Type"), "application/json") << path;
        return json::parse(r->body, nullptr, false);
    }
    json post(const std::string& path, const json& body, int expected = 200) const
    {
        auto c = client();
        auto r = c.Post(path.c_str(), body.dump(), "application/json");
        EXPECT_TRUE(r) << path;
        if (!r)
            return json();
        EXPECT_EQ(r->status, expected) << path << " " << body.dump() << ": " << r->body;
        return json::parse(r->body, nullptr, false);
    }
    // Polls the state until `done` holds (true) or 60 s pass.
    template <typename Done> bool wait_state(Done done) const
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            if (done(get("/api/state")))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

private:
    std::string folder_;
    RunningPlayer player_;
    bool ok_ = false;
    int port_ = 0;
    std::string token_;
};

TEST(StudioApi, RequestsWithoutTheTokenOrFromAnotherHostAreRefused)
{
    Studio studio("studio_security");
    ASSERT_TRUE(studio.ok());
    httplib::Client bare("127.0.0.1", studio.port());

    auto noToken = bare.Get("/api/state");
    ASSERT_TRUE(noToken);
    EXPECT_EQ(noToken->status, 403);
    EXPECT_TRUE(json::parse(noToken->body).contains("error"));
    EXPECT_EQ(bare.Get("/api/state", {{"X-Vortel-Token", std::string(32, '0')}})->status, 403);

    // A page elsewhere whose name resolves to 127.0.0.1 sends its own Host: refused even with the token.
    auto rebound = bare.Get("/api/state", {{"X-Vortel-Token", studio.token()},
                                           {"Host", "attacker.example:" + std::to_string(studio.port())}});
    ASSERT_TRUE(rebound);
    EXPECT_EQ(rebound->status, 403);
    EXPECT_EQ(bare.Get("/", {{"Host", "attacker.example"}})->status, 403);

    // The printed address gives the page and a cookie that stands for the token from then on.
    auto page = bare.Get(("/?token=" + studio.token()).c_str());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    const std::string cookie = page->get_header_value("Set-Cookie");
    EXPECT_NE(cookie.find("vortel_token=" + studio.token()), std::string::npos) << cookie;
    EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
    EXPECT_EQ(bare.Get("/api/state", {{"Cookie", "other=1; vortel_token=" + studio.token()}})->status, 200);
    EXPECT_EQ(bare.Get("/?token=nottheone")->status, 403);

    // Sizes and malformed requests: clear JSON errors, and the player goes on.
    auto c = studio.client();
    auto big = c.Post("/api/seek", std::string((1 << 20) + 1, ' '), "application/json");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->status, 413);
    for (const char* body : {"{\"time\": ", "[1, 2]", "{\"time\": \"soon\"}", "{\"time\": -5}",
                             "{\"time\": 1e400}", "{\"time\": 99999999999999999999}"}) {
        auto bad = c.Post("/api/seek", body, "application/json");
        ASSERT_TRUE(bad) << body;
        EXPECT_EQ(bad->status, 400) << body;
        EXPECT_TRUE(json::parse(bad->body, nullptr, false).contains("error")) << body << ": " << bad->body;
    }
    studio.get("/api/curve?track=99&event=0&param=0&step=10", 400);
    studio.get("/api/curve?track=0&event=0&param=0&step=0", 400);
    studio.get("/api/curve?track=0&event=0&param=x&step=10", 400);
    studio.get("/api/nothing", 404);
    studio.post("/api/edit", {{"op", "event"}, {"track", 0}, {"event", 7}, {"end", 10}}, 400);
    EXPECT_EQ(studio.get("/api/state")["runningTime"], 8000);
}

TEST(StudioApi, SeekPauseAndPlayMoveThePlayersClock)
{
    Studio studio("studio_clock");
    ASSERT_TRUE(studio.ok());
    EXPECT_EQ(studio.post("/api/pause", json::object())["paused"], true);
    json state = studio.post("/api/seek", {{"time", 3000}});
    EXPECT_EQ(state["time"], 3000);
    EXPECT_EQ(state["paused"], true);
    // The frames drawn since show the new time, and it stays there while paused.
    EXPECT_TRUE(studio.wait_state([](const json& s) { return s["time"] == 3000; }));
    EXPECT_EQ(studio.post("/api/seek", {{"time", 20000}})["time"], 8000); // kept within the demo

    studio.post("/api/seek", {{"time", 1000}});
    json loop = studio.post("/api/loop", {{"from", 1000}, {"to", 1500}});
    EXPECT_EQ(loop["loop"]["from"], 1000);
    EXPECT_EQ(studio.post("/api/play", json::object())["paused"], false);
    // Playing, the clock runs on from the seek, and the loop keeps it within 1000 .. 1500.
    bool sawInside = false, sawOutside = false;
    EXPECT_TRUE(studio.wait_state([&](const json& s) {
        const int t = s["time"];
        sawOutside = sawOutside || t < 1000 || t > 1520;
        sawInside = sawInside || (t > 1000 && t <= 1500);
        return sawInside && s["fps"].get<double>() > 0;
    }));
    EXPECT_FALSE(sawOutside);
    EXPECT_EQ(studio.post("/api/loop", {{"off", true}})["loop"], nullptr);
    studio.post("/api/loop", {{"from", 2000}, {"to", 1000}}, 400);

    // The stream sends the state as server-sent events.
    auto c = studio.client();
    int messages = 0;
    std::string received;
    c.Get("/api/events", [&](const char* data, size_t length) {
        received.append(data, length);
        size_t at;
        while ((at = received.find("\n\n")) != std::string::npos) {
            const std::string message = received.substr(0, at);
            received.erase(0, at + 2);
            EXPECT_EQ(message.rfind("data: {", 0), 0u) << message;
            EXPECT_TRUE(json::parse(message.substr(6), nullptr, false).contains("time")) << message;
            ++messages;
        }
        return messages < 3;
    });
    EXPECT_EQ(messages, 3);
}

TEST(StudioApi, TheDocumentAndItsCurvesAreThePlayersOwn)
{
    Studio studio("studio_document", true);
    ASSERT_TRUE(studio.ok());
    json doc = studio.get("/api/document");
    EXPECT_EQ(doc["runningTime"], 8000);
    EXPECT_EQ(doc["generation"], 1);
    ASSERT_GE(doc["tracks"].size(), 5u);
    const json& fade = doc["tracks"][0]["events"][1];
    EXPECT_EQ(fade["function"], "Fade");
    EXPECT_EQ(fade["library"], "Scaffold.so");
    EXPECT_EQ(fade["start"], 6500);
    EXPECT_EQ(fade["end"], 8010);
    EXPECT_EQ(fade["params"][0]["name"], "red");
    EXPECT_EQ(fade["params"][0]["kind"], "const");
    EXPECT_EQ(fade["params"][3]["kind"], "multi");
    EXPECT_EQ(fade["params"][3]["linearForm"], true);
    EXPECT_EQ(fade["params"][3]["keys"][1]["time"], 1510);
    EXPECT_EQ(fade["params"][3]["animated"], true);
    // The effect's own description of the parameter comes with the document.
    EXPECT_EQ(doc["effects"]["Scaffold.so"]["Fade"]["params"][3]["name"], "alpha");
    EXPECT_EQ(doc["beat"]["bar"], 1000.0);
    EXPECT_EQ(doc["music"]["file"], "chord.ogg");

    // The fade in: bez from 255 to 0 over 1000 ms.
    json curve = studio.get("/api/curve?track=0&event=0&param=3&step=10");
    EXPECT_EQ(curve["words"], 1);
    ASSERT_EQ(curve["values"][0].size(), 100u);
    EXPECT_EQ(curve["values"][0][0], 255);
    EXPECT_LT(curve["values"][0][99].get<int>(), 10);
    // The camera's turn: a sqd group gives four words.
    json turn = studio.get("/api/curve?track=2&event=0&param=3&step=100");
    EXPECT_EQ(turn["words"], 4);
    EXPECT_EQ(turn["values"].size(), 4u);
    // The music's three seconds of a chord, loud all along.
    json waveform = studio.get("/api/waveform?points=10");
    EXPECT_EQ(waveform["duration"], 3000);
    ASSERT_EQ(waveform["peaks"].size(), 10u);
    EXPECT_GT(waveform["peaks"][5][1].get<double>(), 0.3);
    EXPECT_LT(waveform["peaks"][5][0].get<double>(), -0.3);
    studio.get("/api/waveform?points=0", 400);
}

TEST(StudioApi, AnEditRewritesOnlyWhatChangedAndTheDemoReloads)
{
    Studio studio("studio_edit");
    ASSERT_TRUE(studio.ok());
    const std::string before = studio.document();
    json edited = studio.post("/api/edit", {{"op", "event"}, {"track", 0}, {"event", 0}, {"end", 1234}});
    EXPECT_EQ(edited["generation"], 2);
    EXPECT_EQ(edited["undo"], 1);

    const std::string after = studio.document();
    std::string expected = before;
    const std::string old = "FunctionName=\"Fade\" StartTime=\"0\" EndTime=\"1000\"";
    ASSERT_NE(expected.find(old), std::string::npos);
    expected.replace(expected.find(old), old.size(),
                     "FunctionName=\"Fade\" StartTime=\"0\" EndTime=\"1230\"");
    EXPECT_EQ(after, expected);
    EXPECT_EQ(file_text(studio.folder() + "/demo.xml~"), before);
    json doc = studio.get("/api/document");
    EXPECT_EQ(doc["generation"], 2);
    EXPECT_EQ(doc["tracks"][0]["events"][0]["end"], 1230);

    // A key of the fade in moved: only that param element changes.
    studio.post("/api/edit", {{"op", "keys"},
                              {"track", 0},
                              {"event", 0},
                              {"param", 3},
                              {"keys", {{{"time", 0}, {"value", 200}}, {{"time", 500}, {"value", 0}}}}});
    EXPECT_EQ(studio.get("/api/document")["tracks"][0]["events"][0]["params"][3]["keys"][0]["value"], 200);

    // Edits the player would refuse leave the file alone.
    const std::string good = studio.document();
    studio.post("/api/edit",
                {{"op", "keys"}, {"track", 0}, {"event", 0}, {"param", 0}, {"keys", json::array()}}, 400);
    studio.post("/api/edit", {{"op", "value"}, {"track", 0}, {"event", 0}, {"param", 3}, {"value", 1}}, 400);
    studio.post("/api/edit", {{"op", "event"}, {"track", 0}, {"event", 0}, {"start", 900}, {"end", 905}},
                400);
    // One component of the camera's quaternion keys with a key fewer would stop the demo.
    studio.post(
        "/api/edit",
        {{"op", "keys"}, {"track", 2}, {"event", 0}, {"param", 3}, {"keys", {{{"time", 0}, {"value", 0}}}}},
        400);
    EXPECT_EQ(studio.document(), good);

    // Undo walks back byte for byte; redo forward again.
    studio.post("/api/undo", json::object());
    EXPECT_EQ(studio.document(), after);
    studio.post("/api/undo", json::object());
    EXPECT_EQ(studio.document(), before);
    studio.post("/api/undo", json::object(), 409);
    json redone = studio.post("/api/redo", json::object());
    EXPECT_EQ(redone["redo"], 1);
    EXPECT_EQ(studio.document(), after);
    EXPECT_EQ(studio.get("/api/document")["tracks"][0]["events"][0]["end"], 1230);
}

} // namespace
