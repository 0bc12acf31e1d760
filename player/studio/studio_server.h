// The studio's HTTP server: cpp-httplib on its own threads, on 127.0.0.1 only. It serves the page's files
// and the JSON API under /api/, and checks every request before anything else sees it:
// - a Host other than 127.0.0.1:PORT or localhost:PORT gets 403 (a page elsewhere that resolved its own
//   name to 127.0.0.1 cannot talk to the player);
// - an /api/ request without the token (header X-Vortel-Token, or the cookie vortel_token that
//   "GET /?token=TOKEN" sets) gets 403;
// - a body over 1 MiB gets 413, a body that is not a JSON object 400.
// What passes is handed to the main thread through the link (studio_link.h) as a StudioRequest and
// answered from there, except the streamed state (/api/events, /api/state), which the link holds.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "studio_link.h"
#include "studio_request.h"

namespace httplib
{
class Server;
}

class StudioServer
{
public:
    // Main thread: answers one request (throwing StudioBadRequest gives 400).
    using Handler = std::function<void(const StudioRequest&, StudioResponder)>;

    // Listens on 127.0.0.1:port (0: a free one) and serves the files of `pageFolder`. Throws
    // BasicException when the port cannot be had.
    StudioServer(StudioLink& link, Handler handler, uint16_t port, std::string pageFolder);
    // Stops listening and waits for the server's threads (streams end within a tick).
    ~StudioServer();

    uint16_t port() const { return port_; }
    const std::string& token() const { return token_; }
    // http://127.0.0.1:PORT/?token=TOKEN
    std::string address() const;

private:
    void add_routes();

    StudioLink& link_;
    Handler handler_;
    std::string pageFolder_;
    std::string token_;
    uint16_t port_ = 0;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
};

// 32 random hex digits.
std::string make_studio_token();
