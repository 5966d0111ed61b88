#include "core/workspace/proxy.h"

#include <sys/stat.h>

#include "core/shell/shell.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/ini.h"

namespace kv::workspace {

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
    if (proxy.Mode == TProxy::ModeAuto) proxy.ForgetServer();
}

} // namespace kv::workspace
