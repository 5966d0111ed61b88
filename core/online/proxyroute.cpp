#include "core/online/proxyroute.h"

#include "core/shell/shell.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/ini.h"

namespace kv::online {

namespace {

constexpr const char* WaitText = "Загрузка архива тиражей...";

std::string waitWith(std::string_view detail)
{
    return util::Format("Загрузка архива тиражей...\n\n%s", {detail});
}

// "host:port" into the proxy; fails with kv::Error when the port is not a number of 1..65535.
void takeCandidate(workspace::TProxy& p, const std::string& candidate)
{
    const std::size_t colon = candidate.rfind(':');
    int64_t port = 0;
    if (colon == std::string::npos || colon == 0 || !util::TryParseInt(candidate.substr(colon + 1), port) || port < 1 ||
        port > 65535)
        throw Error(util::Format("Некорректный адрес proxy-сервера: \"%s\"", {candidate}));
    p.ForgetServer();
    p.Server = candidate.substr(0, colon);
    p.Port = static_cast<int32_t>(port);
}

} // namespace

bool ApplyProxy(workspace::TProxy& proxy, std::string_view url, int attempt, shell::Shell& shell, const TProxySearch& search,
                workspace::TProxyServer& use)
{
    use = {};
    const uint8_t mode = proxy.ModeInForce();
    if (mode == workspace::TProxy::ModeAuto && proxy.Server.empty()) {
        if (proxy.Candidates.empty()) {
            shell.WaitShow(waitWith("Поиск proxy-серверов"));
            try {
                proxy.Candidates = search(url);
                if (proxy.Candidates.empty()) throw Error("Не найдено ни одного proxy-сервера с заданными параметрами");
            } catch (const Cancelled&) {
                throw;   // the download ends quietly
            } catch (const std::exception& e) {
                shell.ShowFailure("Ошибка получения списка proxy-серверов!", e.what());
                return false;
            }
        }
        try {
            takeCandidate(proxy, proxy.Candidates.front());
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка автоматического выбора proxy сервера!", e.what());
            return false;
        }
    }
    if ((mode == workspace::TProxy::ModeAuto || mode == workspace::TProxy::ModeManual) && !proxy.Server.empty()) {
        use = proxy.InUse();
        shell.WaitShow(waitWith(util::Format("Попытка %d, proxy %s : %d", {attempt, proxy.Server, proxy.Port})));
    } else {
        shell.WaitShow(WaitText);
    }
    return true;
}

bool NextProxy(workspace::TProxy& proxy)
{
    if (proxy.ModeInForce() != workspace::TProxy::ModeAuto) return false;
    proxy.ForgetServer();
    if (!proxy.Candidates.empty()) proxy.Candidates.erase(proxy.Candidates.begin());
    return !proxy.Candidates.empty();
}

void SaveProxyIfChanged(workspace::TProxy& proxy, const std::filesystem::path& iniPath, shell::Shell& shell)
{
    if (!proxy.Saved) workspace::SaveProxySettings(proxy, iniPath, shell, false);
}

void DropCandidates(workspace::TProxy& proxy)
{
    proxy.Candidates.clear();
}

} // namespace kv::online
