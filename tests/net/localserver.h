#pragma once
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>

namespace kv::test {

// A cpp-httplib server on 127.0.0.1 and a free port, running on its own thread for the life of
// the object. Handlers are set on `server` before Start().
template <class S>
class BasicLocalServer {
public:
    S server;

    template <class... Args>
    explicit BasicLocalServer(Args&&... args) : server(std::forward<Args>(args)...)
    {
    }
    ~BasicLocalServer() { Stop(); }

    void Start()
    {
        m_port = server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { server.listen_after_bind(); });
        // This cpp-httplib has no wait_until_ready(): poll until the loop runs.
        for (int i = 0; i < 500 && !server.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    void Stop()
    {
        if (!m_thread.joinable()) return;
        server.stop();
        m_thread.join();
    }
    int Port() const { return m_port; }
    std::string Url(const std::string& path = "") const
    {
        return (std::is_same_v<S, httplib::Server> ? "http" : "https") + std::string("://127.0.0.1:") +
               std::to_string(m_port) + path;
    }

private:
    int m_port = 0;
    std::thread m_thread;
};

using LocalServer = BasicLocalServer<httplib::Server>;

} // namespace kv::test
