#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::util {
class IniFile;
}
namespace kv::shell {
class Shell;
}

namespace kv::workspace {

// The proxy a request goes through; an empty Server means none.
struct TProxyServer {
    std::string Server;
    int32_t Port = 80;
    std::string Username;
    std::string Password;
    bool operator==(const TProxyServer&) const = default;
};

// The proxy settings the workspace holds (section PROXY of Kvanta_8x20.ini).
struct TProxy {
    static constexpr const char* Section = "PROXY";
    static constexpr uint8_t ModeNone = 0;
    static constexpr uint8_t ModeAuto = 1;
    static constexpr uint8_t ModeManual = 2;

    uint8_t Mode = ModeNone;          // stored as read; ModeInForce() says what it means
    std::string Server;
    int32_t Port = 80;
    std::string Username;
    std::string Password;
    bool Saved = false;               // the fields above are those in the settings file
    std::vector<std::string> Candidates;  // "host:port", best first; only during a download

    // Mode, with any value above 2 meaning no proxy.
    uint8_t ModeInForce() const { return Mode <= ModeManual ? Mode : ModeNone; }
    TProxyServer InUse() const { return {Server, Port, Username, Password}; }
    // Forgets server, port, user name and password (the automatic search chooses afresh).
    void ForgetServer()
    {
        Server.clear();
        Port = 80;
        Username.clear();
        Password.clear();
        Saved = false;
    }
};

// The section's keys with their defaults: ProxyMode 2 when ProxyServer is not empty (0 when
// it is), ProxyPort 80. A mode outside 0..255 reads as 0.
TProxy ReadProxySection(const util::IniFile& ini);
// All five keys, the password as typed.
void WriteProxySection(util::IniFile& ini, const TProxy& proxy);

// Reads the section with the status text "Загрузка файла конфигурации..." and sets Saved; a
// failure shows "Ошибка чтения файла конфигурации!" with the reason, keeps the settings in
// memory and returns false.
bool LoadProxySettings(TProxy& proxy, const std::filesystem::path& iniPath, shell::Shell& shell);
// Writes the five keys and the whole file at once and sets Saved. With status the shell is busy
// and shows "Сохранение файла конфигурации..."; a failure shows "Ошибка записи в файл
// конфигурации!" with the reason and returns false. A file that holds a password is made
// readable by its owner only.
bool SaveProxySettings(TProxy& proxy, const std::filesystem::path& iniPath, shell::Shell& shell, bool withStatus);

// The proxy dialog's OK: the fields are taken over and Saved is cleared; choice is the new Mode.
// The automatic search forgets server, port, user name and password, so that the next download
// searches afresh. The dialog opens with ModeInForce().
void ApplyProxyChoice(TProxy& proxy, uint8_t choice, const TProxyServer& fields);

} // namespace kv::workspace
