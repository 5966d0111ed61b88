#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/proxy.h"

namespace kv::shell {
class Shell;
}

// The proxy of each request of a download: the settings' mode in force, the automatic search's
// candidates tried in turn.
namespace kv::online {

// Finds proxy candidates ("host:port", best first) for requests to targetUrl; fails with
// kv::Error.
using TProxySearch = std::function<std::vector<std::string>(std::string_view targetUrl)>;

// Decides the proxy of the next request to url and shows it in the wait window (attempt is the
// download's attempt counter). In automatic mode without a chosen server it takes the first
// candidate, searching first when there are none. Returns false, after showing why, when no
// server could be chosen; `use` then stays empty.
bool ApplyProxy(workspace::TProxy& proxy, std::string_view url, int attempt, shell::Shell& shell, const TProxySearch& search,
                workspace::TProxyServer& use);
// After a failed request in automatic mode: forgets the chosen server and drops the first
// candidate; true when candidates remain. Other modes: false.
bool NextProxy(workspace::TProxy& proxy);
// After a request succeeded: saves an automatically found proxy that worked, without status.
void SaveProxyIfChanged(workspace::TProxy& proxy, const std::filesystem::path& iniPath, shell::Shell& shell);
// At the end of a download.
void DropCandidates(workspace::TProxy& proxy);

} // namespace kv::online
