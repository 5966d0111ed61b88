#include "server/catalogserver.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <unordered_map>

#include "core/util/catalogwire.h"
#include "core/util/catalogwiremessages.h"

namespace kv::server {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* ContentType = "text/html; charset=utf-8";

std::int64_t unixNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Where a connection is in its current request; the deadlines apply to the first two.
enum class TPhase { Headers, Body, Answering, Closed };

// One connection, from accept to close. Owned by the server's table; the event loop that serves
// it and the sweeper that enforces its deadlines both reach it under the table's mutex.
struct TConnection {
    int Fd = -1;
    std::string Peer;
    TPhase Phase = TPhase::Headers;
    Clock::time_point Since;  // the connection's start, or the end of its previous answer
};

// One request, from its headers to its answer's last byte.
struct TRequest {
    std::string Method, Path, Body;
    const util::TCatalogMessage* Message = nullptr;
    Clock::time_point Start;
    int Status = 0;
    std::size_t Bytes = 0;
    bool Answered = false;
    // A refusal decided before the body's end: the body is read and dropped, and the answer goes
    // when it is complete, so that the client, still sending, reads it rather than a reset.
    int RefuseStatus = 0;
    std::string RefuseText;
};

std::string peerOf(MHD_Connection* c)
{
    const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (!info || !info->client_addr) return "-";
    char text[INET6_ADDRSTRLEN] = "-";
    const sockaddr* a = info->client_addr;
    if (a->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(a)->sin_addr, text, sizeof text);
    else if (a->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(a)->sin6_addr, text, sizeof text);
    return text;
}

// A token bucket per address: `burst` writes at once, refilled at `perHour`. Addresses that
// have been full again for a while are forgotten, so the table stays as small as the attack.
class TWriteBudget {
public:
    TWriteBudget(unsigned perHour, unsigned burst) : m_perSecond(perHour / 3600.0), m_burst(burst) {}

    bool Take(const std::string& peer)
    {
        const double now = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
        std::lock_guard lock(m_mutex);
        if (m_buckets.size() > 100000) forgetFull(now);
        auto [it, fresh] = m_buckets.try_emplace(peer, Bucket{static_cast<double>(m_burst), now});
        Bucket& b = it->second;
        if (!fresh) b.Tokens = std::min<double>(m_burst, b.Tokens + (now - b.Last) * m_perSecond);
        b.Last = now;
        if (b.Tokens < 1) return false;
        b.Tokens -= 1;
        return true;
    }

private:
    struct Bucket {
        double Tokens, Last;
    };
    void forgetFull(double now)
    {
        for (auto it = m_buckets.begin(); it != m_buckets.end();)
            it = it->second.Tokens + (now - it->second.Last) * m_perSecond >= m_burst ? m_buckets.erase(it) : std::next(it);
    }
    double m_perSecond;
    unsigned m_burst;
    std::mutex m_mutex;
    std::unordered_map<std::string, Bucket> m_buckets;
};

} // namespace

struct TCatalogServer::Impl {
    TCatalogService& Service;
    TServerLimits Limits;
    std::FILE* Log = nullptr;
    TWriteBudget Writes;
    int ListenFd = -1;
    MHD_Daemon* Daemon = nullptr;

    std::mutex Mutex;  // the connection table and the run state
    std::condition_variable Wake;
    std::set<TConnection*> Connections;
    bool StopWanted = false;
    std::atomic<bool> Running{false};

    Impl(TCatalogService& service, TServerLimits limits, std::FILE* log)
        : Service(service), Limits(limits), Log(log), Writes(limits.WritesPerHour, limits.WriteBurst)
    {
    }

    void logLine(const std::string& peer, const std::string& method, const std::string& path, int status,
                 std::size_t bytes, Clock::time_point start)
    {
        if (!Log) return;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::fprintf(Log, "%s %s %s %s %d %zu %.1f\n", util::FormatUtcTime(unixNow()).c_str(), peer.c_str(),
                     method.c_str(), path.c_str(), status, bytes, ms);
        std::fflush(Log);
    }

    static TConnection* connectionOf(MHD_Connection* c)
    {
        const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        return info ? static_cast<TConnection*>(info->socket_context) : nullptr;
    }

    // Moves the connection to `to` unless the sweeper closed it first; false then.
    bool enter(TConnection* conn, TPhase to)
    {
        std::lock_guard lock(Mutex);
        if (!conn || conn->Phase == TPhase::Closed) return false;
        conn->Phase = to;
        if (to == TPhase::Headers) conn->Since = Clock::now();
        return true;
    }

    // Queues the answer. Its body is sent from this string as the client reads it, and freed when
    // sent: a long list is held once, not copied into the library's own buffer.
    MHD_Result answer(MHD_Connection* c, TRequest& r, int status, std::string body)
    {
        r.Status = status;
        r.Bytes = body.size();
        r.Answered = true;
        if (!enter(connectionOf(c), TPhase::Answering)) return MHD_NO;
        auto* held = new std::string(std::move(body));
        MHD_Response* res = MHD_create_response_from_callback(
            held->size(), 64 * 1024,
            [](void* cls, std::uint64_t pos, char* buf, std::size_t max) -> ssize_t {
                const auto* s = static_cast<const std::string*>(cls);
                if (pos >= s->size()) return MHD_CONTENT_READER_END_OF_STREAM;
                const std::size_t n = std::min<std::size_t>(max, s->size() - static_cast<std::size_t>(pos));
                std::memcpy(buf, s->data() + pos, n);
                return static_cast<ssize_t>(n);
            },
            held, [](void* cls) { delete static_cast<std::string*>(cls); });
        if (!res) {
            delete held;
            return MHD_NO;
        }
        MHD_add_response_header(res, MHD_HTTP_HEADER_CONTENT_TYPE, ContentType);
        const MHD_Result ok = MHD_queue_response(c, static_cast<unsigned>(status), res);
        MHD_destroy_response(res);
        return ok;
    }

    // The request's headers, once: what is wrong with them before any body is read.
    MHD_Result start(MHD_Connection* c, TRequest& r)
    {
        struct Lengths {
            int Count = 0;
            std::string First;
        } lengths;
        MHD_get_connection_values(
            c, MHD_HEADER_KIND,
            [](void* cls, MHD_ValueKind, const char* key, const char* value) {
                auto* l = static_cast<Lengths*>(cls);
                if (strcasecmp(key, MHD_HTTP_HEADER_CONTENT_LENGTH) == 0 && l->Count++ == 0) l->First = value;
                return MHD_YES;
            },
            &lengths);
        // Two lengths are a request smuggling attempt whichever one a proxy in front believed.
        if (lengths.Count > 1) return answer(c, r, 400, util::TaggedError("Неверный запрос"));
        const unsigned long long length = lengths.First.empty() ? 0 : std::strtoull(lengths.First.c_str(), nullptr, 10);
        // A body far beyond the limit is not worth reading even to answer politely.
        if (length > 4 * static_cast<unsigned long long>(Limits.MaxBodyBytes))
            return answer(c, r, 413, util::TaggedError("Слишком большой запрос"));
        if (!r.Message || r.Method != "POST") refuse(r, 404, "Неизвестный запрос");
        else if (length > Limits.MaxBodyBytes) refuse(r, 413, "Слишком большой запрос");
        else if (r.Message->Writes && !Writes.Take(connectionOf(c)->Peer))
            refuse(r, 429, "Слишком много изменений с этого адреса: повторите позже");
        if (!r.RefuseStatus) r.Body.reserve(std::min<std::size_t>(Limits.MaxBodyBytes, 64 * 1024));
        return enter(connectionOf(c), TPhase::Body) ? MHD_YES : MHD_NO;
    }

    static void refuse(TRequest& r, int status, const char* text)
    {
        r.RefuseStatus = status;
        r.RefuseText = text;
        r.Body.clear();
        r.Body.shrink_to_fit();
    }

    static MHD_Result onRequest(void* cls, MHD_Connection* c, const char* url, const char* method, const char*,
                                const char* data, std::size_t* size, void** context)
    {
        Impl& self = *static_cast<Impl*>(cls);
        auto* r = static_cast<TRequest*>(*context);
        if (!r) {
            r = new TRequest;
            *context = r;
            r->Method = method;
            r->Path = url;
            r->Start = Clock::now();
            r->Message = util::FindCatalogMessage(r->Path);
            return self.start(c, *r);
        }
        if (r->Answered) {
            *size = 0;
            return MHD_YES;
        }
        if (*size > 0) {
            if (!r->RefuseStatus && r->Body.size() + *size > self.Limits.MaxBodyBytes)
                refuse(*r, 413, "Слишком большой запрос");
            if (!r->RefuseStatus) r->Body.append(data, *size);
            *size = 0;
            return MHD_YES;
        }
        if (r->RefuseStatus) return self.answer(c, *r, r->RefuseStatus, util::TaggedError(r->RefuseText));
        TCatalogAnswer a = self.Service.Handle(r->Path, r->Body);
        r->Body.clear();
        r->Body.shrink_to_fit();
        return self.answer(c, *r, a.Status, std::move(a.Body));
    }

    static void onCompleted(void* cls, MHD_Connection* c, void** context, MHD_RequestTerminationCode code)
    {
        Impl& self = *static_cast<Impl*>(cls);
        auto* r = static_cast<TRequest*>(*context);
        if (!r) return;
        *context = nullptr;
        if (r->Answered) self.logLine(peerOf(c), r->Method, r->Path, r->Status, r->Bytes, r->Start);
        if (code == MHD_REQUEST_TERMINATED_COMPLETED_OK) self.enter(connectionOf(c), TPhase::Headers);
        delete r;
    }

    static void onConnection(void* cls, MHD_Connection* c, void** socketContext, MHD_ConnectionNotificationCode code)
    {
        Impl& self = *static_cast<Impl*>(cls);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            auto* conn = new TConnection;
            const MHD_ConnectionInfo* fd = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CONNECTION_FD);
            conn->Fd = fd ? fd->connect_fd : -1;
            conn->Since = Clock::now();
            conn->Peer = peerOf(c);
            *socketContext = conn;
            std::lock_guard lock(self.Mutex);
            self.Connections.insert(conn);
            return;
        }
        // Closed: the socket is still open here and closed right after, so the sweeper, which
        // works under the same mutex, never touches a number that already names another socket.
        auto* conn = static_cast<TConnection*>(*socketContext);
        *socketContext = nullptr;
        if (!conn) return;
        {
            std::lock_guard lock(self.Mutex);
            self.Connections.erase(conn);
        }
        delete conn;
    }

    // Closes the connections whose request is past its deadline. A client that sent its headers
    // and then too little of its body gets a time-out answer, written straight to the socket (the
    // event loop writes nothing before it has an answer of its own); then the socket is shut
    // down, which the event loop sees as the end of the connection. A client still in its headers
    // (or idle since its last answer) is only closed.
    void sweep()
    {
        const Clock::time_point now = Clock::now();
        const auto headers = std::chrono::seconds(Limits.HeaderSeconds);
        const auto whole = std::chrono::seconds(Limits.RequestSeconds);
        static const std::string body = util::TaggedError("Время ожидания запроса истекло");
        static const std::string timeout = "HTTP/1.1 408 Request Timeout\r\nContent-Type: " + std::string(ContentType) +
                                           "\r\nContent-Length: " + std::to_string(body.size()) +
                                           "\r\nConnection: close\r\n\r\n" + body;
        std::vector<std::pair<std::string, Clock::time_point>> timedOut;
        {
            std::lock_guard lock(Mutex);
            for (TConnection* conn : Connections) {
                const bool inBody = conn->Phase == TPhase::Body;
                const bool late = (conn->Phase == TPhase::Headers && now - conn->Since > headers) ||
                                  (inBody && now - conn->Since > whole);
                if (!late || conn->Fd < 0) continue;
                if (inBody) {
                    (void)::send(conn->Fd, timeout.data(), timeout.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                    timedOut.emplace_back(conn->Peer, conn->Since);
                }
                ::shutdown(conn->Fd, SHUT_RDWR);
                conn->Phase = TPhase::Closed;
            }
        }
        for (const auto& [peer, since] : timedOut) logLine(peer, "POST", "-", 408, body.size(), since);
    }
};

TCatalogServer::TCatalogServer(TCatalogService& service, TServerLimits limits, std::FILE* log)
    : m(std::make_unique<Impl>(service, limits, log))
{
}

TCatalogServer::~TCatalogServer()
{
    Stop();
    if (m->ListenFd >= 0) ::close(m->ListenFd);
}

const TServerLimits& TCatalogServer::Limits() const { return m->Limits; }

int TCatalogServer::Bind(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    const std::string fail = "cannot listen on " + host + ":" + service;
    if (getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found) != 0 || !found)
        throw std::runtime_error(fail);
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        const int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (::bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, 1024) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    if (fd < 0) throw std::runtime_error(fail);
    sockaddr_storage bound{};
    socklen_t len = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len);
    if (m->ListenFd >= 0) ::close(m->ListenFd);
    m->ListenFd = fd;
    return ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                             : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
}

void TCatalogServer::Run()
{
    if (m->ListenFd < 0) throw std::runtime_error("the server is not bound to an address");
    {
        std::lock_guard lock(m->Mutex);
        if (m->StopWanted) return;
    }
    // Each connection holds a socket: the soft limit of open files is raised as far as allowed.
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }
    const TServerLimits& l = m->Limits;
    m->Daemon = MHD_start_daemon(
        MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_ITC, 0, nullptr, nullptr,
        &Impl::onRequest, m.get(), MHD_OPTION_LISTEN_SOCKET, m->ListenFd, MHD_OPTION_THREAD_POOL_SIZE,
        static_cast<unsigned>(std::max(1u, l.Threads)), MHD_OPTION_CONNECTION_LIMIT, l.MaxConnections,
        MHD_OPTION_PER_IP_CONNECTION_LIMIT, l.ConnectionsPerAddress, MHD_OPTION_CONNECTION_TIMEOUT, l.IdleSeconds,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, l.ConnectionMemoryBytes, MHD_OPTION_NOTIFY_COMPLETED, &Impl::onCompleted,
        m.get(), MHD_OPTION_NOTIFY_CONNECTION, &Impl::onConnection, m.get(), MHD_OPTION_END);
    if (!m->Daemon) throw std::runtime_error("the HTTP server did not start");
    m->Running = true;
    {
        std::unique_lock lock(m->Mutex);
        while (!m->StopWanted) {
            m->Wake.wait_for(lock, std::chrono::milliseconds(250));
            if (m->StopWanted) break;
            lock.unlock();
            m->sweep();
            lock.lock();
        }
    }
    MHD_stop_daemon(m->Daemon);
    m->Daemon = nullptr;
    // The daemon owned the listening socket from its start and closed it.
    m->ListenFd = -1;
    m->Running = false;
}

void TCatalogServer::Stop()
{
    std::lock_guard lock(m->Mutex);
    m->StopWanted = true;
    m->Wake.notify_all();
}

bool TCatalogServer::IsRunning() const { return m->Running; }

} // namespace kv::server
