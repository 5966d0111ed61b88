#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>

// Bytes on a plain socket, for what an HTTP client library will not send: requests cut short,
// sent a byte at a time, or with doubled headers. Header-only: the benchmarks use it too.
namespace kv::test {

// A TCP connection to 127.0.0.1:port from the local address 127.0.0.<host> (Linux routes all of
// 127/8 to the loopback), so one test can play clients of many addresses; -1 on failure.
inline int ConnectFrom(int host, int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = htonl(0x7F000000u | static_cast<unsigned>(host));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    return fd;
}

inline void SendAll(int fd, const std::string& bytes) { (void)::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

// What the server sends until it closes the connection or `wait` passes without a byte.
inline std::string ReadUntilClosed(int fd, std::chrono::milliseconds wait)
{
    std::string out;
    char buf[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0) return out;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return out;
        out.append(buf, static_cast<std::size_t>(n));
    }
}

// Whether the server closed the connection within `wait` (reading and dropping what it sent).
inline bool ClosedWithin(int fd, std::chrono::milliseconds wait)
{
    const auto until = std::chrono::steady_clock::now() + wait;
    char buf[4096];
    while (std::chrono::steady_clock::now() < until) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0 && ::recv(fd, buf, sizeof buf, MSG_DONTWAIT) <= 0) return true;
    }
    return false;
}

} // namespace kv::test
