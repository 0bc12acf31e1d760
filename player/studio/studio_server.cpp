#include "studio_server.h"

#include <cerrno>
#include <httplib.h>
#include <sys/random.h>
#include <vortel/plugin.h>

#include "dev_mode.h"

namespace
{

constexpr size_t kMaxBody = 1 << 20;
constexpr auto kMainThreadTimeout = std::chrono::seconds(10);
constexpr auto kStreamInterval = std::chrono::milliseconds(50); // 20 states a second
constexpr const char* kCookie = "vortel_token";

// The page's files, each with its type. Nothing else is served from the folder.
const struct {
    const char* path;
    const char* file;
    const char* type;
} kPageFiles[] = {
    {"/", "index.html", "text/html; charset=utf-8"},
    {"/studio.js", "studio.js", "text/javascript; charset=utf-8"},
    {"/studio.css", "studio.css", "text/css; charset=utf-8"},
};

void answer(httplib::Response& response, const StudioReply& reply)
{
    response.status = reply.status;
    response.set_content(reply.body, "application/json");
}

// Compares without stopping at the first difference: how long it takes tells nothing about the token.
bool same_token(const std::string& given, const std::string& token)
{
    if (given.size() != token.size())
        return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < token.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ token[i]);
    return difference == 0;
}

std::string cookie_value(const httplib::Request& request, const std::string& name)
{
    const std::string cookies = request.get_header_value("Cookie");
    size_t at = 0;
    while (at < cookies.size()) {
        size_t end = cookies.find(';', at);
        if (end == std::string::npos)
            end = cookies.size();
        size_t begin = cookies.find_first_not_of(' ', at);
        if (begin < end && cookies.compare(begin, name.size() + 1, name + "=") == 0)
            return cookies.substr(begin + name.size() + 1, end - begin - name.size() - 1);
        at = end + 1;
    }
    return "";
}

StudioRequest studio_request(const httplib::Request& request)
{
    StudioRequest out;
    out.method = request.method;
    out.path = request.path;
    for (const auto& [name, value] : request.params)
        out.query.emplace(name, value);
    if (request.body.empty())
        return out;
    out.body = nlohmann::json::parse(request.body, nullptr, false);
    if (out.body.is_discarded())
        throw StudioBadRequest("the body is not JSON");
    if (!out.body.is_object())
        throw StudioBadRequest("the body must be a JSON object");
    return out;
}

} // namespace

std::string make_studio_token()
{
    unsigned char bytes[16];
    size_t got = 0;
    while (got < sizeof(bytes)) {
        ssize_t n = getrandom(bytes + got, sizeof(bytes) - got, 0);
        if (n < 0 && errno != EINTR)
            throw BasicException("the studio cannot make its token: no random numbers");
        got += n > 0 ? size_t(n) : 0;
    }
    static const char digits[] = "0123456789abcdef";
    std::string token;
    for (unsigned char byte : bytes) {
        token += digits[byte >> 4];
        token += digits[byte & 15];
    }
    return token;
}

StudioServer::StudioServer(StudioLink& link, Handler handler, uint16_t port, std::string pageFolder)
    : link_(link), handler_(std::move(handler)), pageFolder_(std::move(pageFolder)),
      token_(make_studio_token()), server_(std::make_unique<httplib::Server>())
{
    server_->set_payload_max_length(kMaxBody);
    // Short, so that stopping does not wait long for an idle connection.
    server_->set_keep_alive_timeout(1);
    server_->set_read_timeout(5);
    add_routes();
    const int bound = port == 0 ? server_->bind_to_any_port("127.0.0.1")
                                : (server_->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0)
        throw BasicException::format("the studio cannot listen on 127.0.0.1:%u (is the port taken?)", port);
    port_ = uint16_t(bound);
    thread_ = std::thread([this] { server_->listen_after_bind(); });
}

StudioServer::~StudioServer()
{
    link_.close();
    server_->stop();
    if (thread_.joinable())
        thread_.join();
}

std::string StudioServer::address() const
{
    return "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + token_;
}

void StudioServer::add_routes()
{
    server_->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        const std::string host = request.get_header_value("Host");
        const std::string port = std::to_string(port_);
        if (host != "127.0.0.1:" + port && host != "localhost:" + port) {
            answer(response, studio_error(403, "the studio answers only to 127.0.0.1:" + port +
                                                   " and localhost:" + port));
            return httplib::Server::HandlerResponse::Handled;
        }
        if (request.path.compare(0, 5, "/api/") == 0 &&
            !same_token(request.get_header_value("X-Vortel-Token"), token_) &&
            !same_token(cookie_value(request, kCookie), token_)) {
            answer(response, studio_error(403, "open the address the player printed (with ?token=...)"));
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    for (const auto& page : kPageFiles) {
        server_->Get(page.path, [this, page](const httplib::Request& request, httplib::Response& response) {
            if (request.has_param("token")) {
                if (!same_token(request.get_param_value("token"), token_)) {
                    answer(response, studio_error(403, "this is not the token the player printed"));
                    return;
                }
                response.set_header("Set-Cookie", std::string(kCookie) + "=" + token_ +
                                                      "; Path=/; SameSite=Strict; HttpOnly");
            }
            std::string text;
            if (!read_whole_file(pageFolder_ + "/" + page.file, &text)) {
                answer(response, studio_error(404, std::string("the studio's ") + page.file +
                                                       " is not installed beside the player"));
                return;
            }
            response.set_header("Cache-Control", "no-store");
            response.set_content(text, page.type);
        });
    }

    server_->Get("/api/state", [this](const httplib::Request&, httplib::Response& response) {
        answer(response, {200, state_json(link_.state())});
    });
    server_->Get("/api/events", [this](const httplib::Request&, httplib::Response& response) {
        response.set_header("Cache-Control", "no-store");
        response.set_chunked_content_provider("text/event-stream", [this](size_t, httplib::DataSink& sink) {
            StudioState state;
            if (!link_.next_state(kStreamInterval, &state))
                return false;
            const std::string message = "data: " + state_json(state) + "\n\n";
            return sink.write(message.data(), message.size());
        });
    });

    auto to_main_thread = [this](const httplib::Request& request, httplib::Response& response) {
        StudioRequest parsed;
        try {
            parsed = studio_request(request);
        } catch (const StudioBadRequest& e) {
            answer(response, studio_error(400, e.what()));
            return;
        }
        const Handler& handler = handler_;
        answer(response, link_.call(
                             [&handler, parsed = std::move(parsed)](StudioResponder responder) {
                                 // Nothing a request asks may stop the frame loop.
                                 try {
                                     handler(parsed, responder);
                                 } catch (const StudioBadRequest& e) {
                                     responder->set_value(studio_error(400, e.what()));
                                 } catch (const BasicException& e) {
                                     responder->set_value(studio_error(500, e.message));
                                 } catch (const std::exception& e) {
                                     responder->set_value(studio_error(500, e.what()));
                                 }
                             },
                             kMainThreadTimeout));
    };
    server_->Get("/api/.*", to_main_thread);
    server_->Post("/api/.*", to_main_thread);

    server_->set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (!response.body.empty())
            return;
        const std::string what = response.status == 413   ? "the body is larger than 1 MiB"
                                 : response.status == 404 ? "there is no " + request.path
                                                          : "the request cannot be served";
        answer(response, studio_error(response.status, what));
    });
    server_->set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
            answer(response, studio_error(500, "the request failed inside the player"));
        });
}
