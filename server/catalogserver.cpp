#include "server/catalogserver.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

#include "core/util/catalogwire.h"

namespace kv::server {

struct TCatalogServer::Impl {
    httplib::Server http;
    std::FILE* log = nullptr;
};

namespace {

using Clock = std::chrono::steady_clock;

// The start of each request, for the log line's duration. Requests of one connection run on
// one thread in turn, so a thread-local is enough.
thread_local Clock::time_point requestStart;

std::int64_t unixNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

} // namespace

TCatalogServer::TCatalogServer(TCatalogService& service, std::size_t maxBodyBytes, std::FILE* log)
    : m(std::make_unique<Impl>())
{
    m->log = log;
    m->http.set_payload_max_length(maxBodyBytes);
    m->http.set_tcp_nodelay(true);
    m->http.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        requestStart = Clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    for (const std::string& path : TCatalogService::Paths()) {
        // The body is taken through a content reader: the library's own form parsing refuses
        // form bodies above 8 KB, far below a scenario's size.
        m->http.Post(path, [&service, path](const httplib::Request&, httplib::Response& res,
                                            const httplib::ContentReader& reader) {
            std::string body;
            const bool whole = reader([&](const char* data, std::size_t size) {
                body.append(data, size);
                return true;
            });
            if (!whole) {
                // Too large, or the client went away: nothing of it reaches the service.
                if (res.status < 400) res.status = 413;
                res.set_content(util::TaggedError("Слишком большой запрос"), "text/html; charset=utf-8");
                return;
            }
            const TCatalogAnswer a = service.Handle(path, body);
            res.status = a.Status;
            res.set_content(a.Body, "text/html; charset=utf-8");
        });
    }
    m->http.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty()) {
            const char* what = res.status == 413 ? "Слишком большой запрос" : "Неизвестный запрос";
            res.set_content(util::TaggedError(what), "text/html; charset=utf-8");
        }
    });
    m->http.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
        if (!m->log) return;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - requestStart).count();
        std::fprintf(m->log, "%s %s %s %s %d %zu %.1f\n", util::FormatUtcTime(unixNow()).c_str(),
                     req.remote_addr.c_str(), req.method.c_str(), req.path.c_str(), res.status, res.body.size(), ms);
        std::fflush(m->log);
    });
}

TCatalogServer::~TCatalogServer() { Stop(); }

int TCatalogServer::Bind(const std::string& host, int port)
{
    const int bound = port == 0 ? m->http.bind_to_any_port(host) : (m->http.bind_to_port(host, port) ? port : -1);
    if (bound <= 0) throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port));
    return bound;
}

void TCatalogServer::Run() { m->http.listen_after_bind(); }

void TCatalogServer::Stop() { m->http.stop(); }

bool TCatalogServer::IsRunning() const { return m->http.is_running(); }

} // namespace kv::server
