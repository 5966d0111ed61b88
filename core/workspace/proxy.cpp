#include "core/workspace/proxy.h"

#include <sys/stat.h>

#include "core/shell/shell.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/ini.h"

namespace kv::workspace {

namespace {

constexpr const char* WaitText = "Загрузка архива тиражей...";

std::string waitWith(std::string_view detail)
{
    return util::Format("Загрузка архива тиражей...\n\n%s", {detail});
}

void forgetServer(TProxy& p)
{
    p.Server.clear();
    p.Port = 80;
    p.Username.clear();
    p.Password.clear();
    p.Saved = false;
}

// "host:port" into the proxy; fails with kv::Error when the port is not a number of 1..65535.
void takeCandidate(TProxy& p, const std::string& candidate)
{
    const std::size_t colon = candidate.rfind(':');
    int64_t port = 0;
    if (colon == std::string::npos || colon == 0 || !util::TryParseInt(candidate.substr(colon + 1), port) || port < 1 ||
        port > 65535)
        throw Error(util::Format("Некорректный адрес proxy-сервера: \"%s\"", {candidate}));
    forgetServer(p);
    p.Server = candidate.substr(0, colon);
    p.Port = static_cast<int32_t>(port);
}

} // namespace

TProxy ReadProxySection(const util::IniFile& ini)
{
    TProxy p;
    p.Server = ini.ReadString(TProxy::Section, "ProxyServer", "");
    const int64_t mode = ini.ReadInteger(TProxy::Section, "ProxyMode", p.Server.empty() ? 0 : 2);
    p.Mode = mode >= 0 && mode <= 255 ? static_cast<uint8_t>(mode) : TProxy::ModeNone;
    const int64_t port = ini.ReadInteger(TProxy::Section, "ProxyPort", 80);
    p.Port = port >= INT32_MIN && port <= INT32_MAX ? static_cast<int32_t>(port) : 80;
    p.Username = ini.ReadString(TProxy::Section, "ProxyUsername", "");
    p.Password = ini.ReadString(TProxy::Section, "ProxyPassword", "");
    return p;
}

void WriteProxySection(util::IniFile& ini, const TProxy& p)
{
    ini.WriteInteger(TProxy::Section, "ProxyMode", p.Mode);
    ini.WriteString(TProxy::Section, "ProxyServer", p.Server);
    ini.WriteInteger(TProxy::Section, "ProxyPort", p.Port);
    ini.WriteString(TProxy::Section, "ProxyUsername", p.Username);
    ini.WriteString(TProxy::Section, "ProxyPassword", p.Password);
}

bool LoadProxySettings(TProxy& proxy, const std::filesystem::path& iniPath, shell::Shell& shell)
{
    shell::BusyScope busy(shell, "Загрузка файла конфигурации...");
    try {
        TProxy read = ReadProxySection(util::IniFile::Load(iniPath));
        read.Candidates = std::move(proxy.Candidates);
        read.Saved = true;
        proxy = std::move(read);
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка чтения файла конфигурации!", e.what());
        return false;
    }
}

bool SaveProxySettings(TProxy& proxy, const std::filesystem::path& iniPath, shell::Shell& shell, bool withStatus)
{
    if (withStatus) shell.MarkBusy();
    if (withStatus) shell.SetStatusText("Сохранение файла конфигурации...");
    bool ok = true;
    try {
        util::IniFile ini = util::IniFile::Load(iniPath);
        WriteProxySection(ini, proxy);
        ini.Save(iniPath);
        // A password typed for the proxy is no business of the machine's other users.
        if (!proxy.Password.empty() && ::chmod(iniPath.c_str(), S_IRUSR | S_IWUSR) != 0)
            throw Error(util::Format("Не удалось ограничить доступ к файлу \"%s\"", {iniPath.string()}));
        proxy.Saved = true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка записи в файл конфигурации!", e.what());
        ok = false;
    }
    if (withStatus) {
        shell.SetStatusText("");
        shell.UnmarkBusy();
    }
    return ok;
}

void ApplyProxyChoice(TProxy& proxy, uint8_t choice, const TProxyServer& fields)
{
    proxy.Server = fields.Server;
    proxy.Port = fields.Port;
    proxy.Username = fields.Username;
    proxy.Password = fields.Password;
    proxy.Saved = false;
    proxy.Mode = choice <= TProxy::ModeManual ? choice : TProxy::ModeNone;
    if (proxy.Mode == TProxy::ModeAuto) forgetServer(proxy);
}

bool ApplyProxy(TProxy& proxy, std::string_view url, int attempt, shell::Shell& shell, const TProxySearch& search,
                TProxyServer& use)
{
    use = {};
    const uint8_t mode = proxy.ModeInForce();
    if (mode == TProxy::ModeAuto && proxy.Server.empty()) {
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
    if ((mode == TProxy::ModeAuto || mode == TProxy::ModeManual) && !proxy.Server.empty()) {
        use = proxy.InUse();
        shell.WaitShow(waitWith(util::Format("Попытка %d, proxy %s : %d", {attempt, proxy.Server, proxy.Port})));
    } else {
        shell.WaitShow(WaitText);
    }
    return true;
}

bool NextProxy(TProxy& proxy)
{
    if (proxy.ModeInForce() != TProxy::ModeAuto) return false;
    forgetServer(proxy);
    if (!proxy.Candidates.empty()) proxy.Candidates.erase(proxy.Candidates.begin());
    return !proxy.Candidates.empty();
}

void SaveProxyIfChanged(TProxy& proxy, const std::filesystem::path& iniPath, shell::Shell& shell)
{
    if (!proxy.Saved) SaveProxySettings(proxy, iniPath, shell, false);
}

void DropCandidates(TProxy& proxy)
{
    proxy.Candidates.clear();
}

} // namespace kv::workspace
