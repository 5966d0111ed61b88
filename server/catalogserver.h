#pragma once
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "server/catalogservice.h"

namespace kv::server {

// Bodies above this are refused before they reach the service (413).
constexpr std::size_t DefaultMaxBodyBytes = 4u << 20;

// What one server lets its clients take. Every connection costs a socket and a small buffer,
// never a thread, so the limits are about addresses and time rather than about threads.
struct TServerLimits {
    std::size_t MaxBodyBytes = DefaultMaxBodyBytes;
    unsigned MaxConnections = 10000;       // in all; the process's open-file limit is raised to fit
    unsigned ConnectionsPerAddress = 64;   // one more from the same address is closed at once
    unsigned HeaderSeconds = 10;           // from connecting (or the end of the last answer) to the last header
    unsigned RequestSeconds = 60;          // from connecting (or the end of the last answer) to the last body byte
    unsigned IdleSeconds = 30;             // a connection that sends and receives nothing this long is closed
    unsigned Threads = 4;                  // event loops, each serving its share of the connections
    unsigned WritesPerHour = 600;          // per address: publications, changes, deletions and ratings ...
    unsigned WriteBurst = 120;             // ... of which this many at once
    std::size_t ConnectionMemoryBytes = 16 * 1024;  // the buffer of the request line and headers
};

// The service over HTTP (libmicrohttpd, epoll event loops): POST to every path of the service,
// a line per request on `log` ("time peer method path status bytes ms").
class TCatalogServer {
public:
    explicit TCatalogServer(TCatalogService& service, TServerLimits limits = {}, std::FILE* log = stderr);
    ~TCatalogServer();
    TCatalogServer(const TCatalogServer&) = delete;
    TCatalogServer& operator=(const TCatalogServer&) = delete;

    // Binds the address (a name or an IPv4/IPv6 address); port 0 takes a free one. Returns the
    // port; fails with std::runtime_error.
    int Bind(const std::string& host, int port);
    // Serves until Stop() (from any thread).
    void Run();
    void Stop();
    bool IsRunning() const;

    const TServerLimits& Limits() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace kv::server
