#pragma once
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "server/catalogservice.h"

namespace kv::server {

// Bodies above this are refused before they reach the service (413).
constexpr std::size_t DefaultMaxBodyBytes = 4u << 20;

// The service over HTTP (cpp-httplib): POST to every path of the service, a line per request
// on `log` ("time peer method path status bytes ms").
class TCatalogServer {
public:
    explicit TCatalogServer(TCatalogService& service, std::size_t maxBodyBytes = DefaultMaxBodyBytes,
                            std::FILE* log = stderr);
    ~TCatalogServer();
    TCatalogServer(const TCatalogServer&) = delete;
    TCatalogServer& operator=(const TCatalogServer&) = delete;

    // Binds the address; port 0 takes a free one. Returns the port; fails with
    // std::runtime_error.
    int Bind(const std::string& host, int port);
    // Serves until Stop() (from any thread).
    void Run();
    void Stop();
    bool IsRunning() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace kv::server
