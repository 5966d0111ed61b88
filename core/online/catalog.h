#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/util/catalogwire.h"

namespace kv::util {
struct TCatalogMessage;
}
namespace kv::scenario {
class TScenario;
}
namespace kv::shell {
class Shell;
}

namespace kv::online {

// Who the user is to the catalogue: kept in section [ONLINE] of Kvanta_8x20.ini. The e-mail
// decides which entries are his; the key, made once at random, proves it to the server.
struct TOnlineIdentity {
    std::string AuthorName;
    std::string AuthorMail;
    std::string ClientKey;
    int Lcid = 1049;

    bool Complete() const { return !AuthorName.empty() && !AuthorMail.empty(); }
};
// Reads the identity; a missing key is made and written at once, so it never changes later.
// Fails with kv::Error when the file cannot be written.
TOnlineIdentity LoadOnlineIdentity(const std::filesystem::path& iniPath);
void SaveOnlineIdentity(const std::filesystem::path& iniPath, const TOnlineIdentity& identity);
// 32 random hexadecimal digits.
std::string MakeClientKey();

// This program to the catalogue: its identifier (also its name in the lists) and version.
struct TProgramIdentity {
    std::string AppId = "Kvanta_8x20";
    std::string AppVer = KV_VERSION;
};

// One catalogue entry as listed. Times are Unix seconds, UTC; 0 when absent.
struct tScriptInfo {
    int32_t Id = 0;
    std::string AuthorName, AuthorMail;
    int32_t Lcid = 0;
    std::string AppName, AppVer;
    bool Universal = false, Public = true;
    int64_t Created = 0;
    double RatingAvg = 0;
    int32_t RatingCount = 0;
    int32_t MyRating = 0;
    int32_t Downloads = 0;
    int64_t LastDownload = 0;
    std::string Title, Descr;
    bool Mine = false, Editable = false, Applicable = false;
};

// What is sent when publishing.
struct tScriptData {
    int32_t Id = -1;
    std::string AuthorName;
    int32_t Lcid = 1049;
    bool Universal = false, Public = true;
    std::string Title, Descr;
};

struct tRateInfo {
    std::string AuthorName;
    int32_t Rate = 0;
    int64_t Created = 0;
    std::string AppName, AppVer, Notes;
};

struct tSystemInfo {
    int32_t Id = -1;
    int Nums = 0, Olap = 0;
    int32_t CSize = 0;
    std::string Title, AuthorName, AuthorMail, Descr;
    int64_t Created = 0;
    int32_t Downloads = 0;
    int64_t LastDownload = 0;
    std::string Url;
};
struct tSystemData : tSystemInfo {
    std::string Combs;  // one combination per line
};

// The entries the catalogue panel asks for at a time, as its list scrolls.
constexpr int32_t CatalogPageSize = 200;

// The captions of the catalogue filters; the request sends the index minus one.
const std::vector<std::string>& CatalogFilterCaptions();
constexpr int DefaultCatalogFilter = 2;

// Posts a form to a path below the catalogue's root ("scripts/scr_getlist.php") and returns
// the body; fails with kv::Error. The network library provides the real one.
using TCatalogPost = std::function<std::string(const std::string& path, const util::TFormFields& fields)>;

// What the server announces of the newest version: its number, where to get it, what changed.
struct TReleaseInfo {
    std::string Version;
    std::string Url;
    std::string Notes;
};

// The catalogue's operations. Each fails with kv::Error carrying the reason (the server's
// "<error>" text, a missing "<result>", a broken Base64 field or date); the caller shows its
// own message before it.
class TCatalogClient {
public:
    TCatalogClient(TCatalogPost post, TOnlineIdentity identity, TProgramIdentity program = {});

    const TOnlineIdentity& Identity() const { return m_identity; }

    // The entries after the first `offset` that pass the filter, newest first: `limit` of them,
    // or (0) as many as the server gives in one answer. The server may give fewer (a page of long
    // descriptions); `more` learns whether it said that entries follow.
    std::vector<tScriptInfo> LoadCatalogue(int filterIndex, int32_t offset = 0, int32_t limit = 0,
                                           bool* more = nullptr) const;
    // The scenario text of the first "<script>" row; empty when there is none.
    std::string DownloadScript(int32_t id) const;
    // Fails with "Код возврата: %d" for a negative "<res_code>".
    void RateScript(int32_t id, int value, const std::string& notes) const;
    // True when the title is free for the entry `id` (-1: a new one).
    bool CheckTitle(int32_t id, const std::string& title) const;
    // The entry's id (above 0); fails when the server gives none.
    int32_t PutScript(const tScriptData& data, const std::string& scriptText) const;
    // 0 on success.
    int32_t DeleteScript(const tScriptData& data) const;
    std::vector<tRateInfo> LoadRates(int32_t id) const;

    // The whole list, page after page. A server that keeps announcing pages past
    // `MaxSystemListPages`, or whose pages together pass `MaxSystemListBytes`, fails the call
    // rather than keeping the program asking and growing the list for ever.
    std::vector<tSystemInfo> LoadSystemList() const;
    static constexpr int MaxSystemListPages = 1000;
    static constexpr std::size_t MaxSystemListBytes = std::size_t(64) << 20;
    std::string DownloadSystemCombs(int32_t id) const;
    // With `del` the system is deleted (0 on success); otherwise its id (>= 0).
    int32_t PutSystem(const tSystemData& data, bool del) const;

    // The newest version the server announces (all empty when it announces none).
    TReleaseInfo LatestRelease() const;

private:
    // The message's fields in its table order (an absent value is left out); the answer's rows.
    std::vector<std::string> post(const util::TCatalogMessage& m,
                                  const std::vector<std::optional<std::string>>& values) const;
    // Publishes with a scenario text, deletes without one; the "<id_scripts>" answered.
    int32_t putScript(const tScriptData& data, const std::optional<std::string>& scriptText) const;

    TCatalogPost m_post;
    TOnlineIdentity m_identity;
    TProgramIdentity m_program;
};

// A downloaded scenario text (UTF-8, CR LF lines) replaces the scenario's lines as a scenario
// file would, and the mirror file is rewritten. An empty text changes nothing and gives false;
// so does a failure, which the scenario shows itself.
bool ReplaceScenarioWithText(scenario::TScenario& scenario, const std::string& text, shell::Shell& shell);

// True when version a (dotted numbers, "0.2.10") is newer than b.
bool IsNewerVersion(const std::string& a, const std::string& b);

// "Поиск обновлений": what the check found. The program never replaces its own files (on Linux
// a package manager owns them): a newer version is named with what changed and the address the
// server gave, and the user installs it.
std::string UpdateCheckText(const TReleaseInfo& latest, const std::string& current);
// The start-up check's status line: the newer version and its address; empty when none is newer.
std::string UpdateStatusText(const TReleaseInfo& latest, const std::string& current);

} // namespace kv::online
