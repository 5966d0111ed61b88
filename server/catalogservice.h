#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "server/catalogstorage.h"

namespace kv::server {

// The newest program version the server announces to the update check (empty: none).
struct TVersionInfo {
    std::string Version;
    std::string Url;
    std::string Notes;   // what changed, shown by the program's update check
};

struct TCatalogAnswer {
    int Status = 200;
    std::string Body;
};

// The catalogue's requests: form bodies in, tagged-row answers out. Every field is untrusted:
// numbers are range-checked, texts must be UTF-8 without NUL and within their length, and texts
// shown between tags by the program must hold no "<" or ">". A refused request answers with an
// "<error>" row and changes nothing.
class TCatalogService {
public:
    // The paths served, below the server's root ("/scripts/scr_getlist.php", ...).
    static const std::vector<std::string>& Paths();
    static constexpr const char* VersionPath = "/scripts/app_version.php";

    // `clock` gives the current Unix time (tests set it); the default is the system clock.
    explicit TCatalogService(TCatalogStorage& storage, std::function<std::int64_t()> clock = nullptr,
                             TVersionInfo version = {});

    // 404 for a path it does not serve; otherwise 200 with the answer or an "<error>" row.
    TCatalogAnswer Handle(std::string_view path, std::string_view body);

private:
    TCatalogStorage& m_storage;
    std::function<std::int64_t()> m_clock;
    TVersionInfo m_version;
};

} // namespace kv::server
