#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/archive/drawpage.h"
#include "core/online/proxyroute.h"

namespace kv::shell {
class Shell;
}
namespace kv::stats {
class TStatList;
}

namespace kv::workspace {
class Workspace;
}

namespace kv::online {

// What the download needs of the network. The program's net library fills it in, tests give
// functions of their own; so the core has no network code.
struct TWebAccess {
    // One GET through the program's page client and the given proxy (none when its Server is
    // empty); with utf8 the body comes back converted to CP1251. Fails with kv::Error.
    std::function<std::string(const std::string& url, const workspace::TProxyServer& proxy, bool utf8)> GetPage;
    // One stand-alone GET that follows redirects (the proxy-list service). Fails with kv::Error.
    std::function<std::string(const std::string& url)> GetText;
};

// One download takes at most this many draws, far more than any real history: a site that never
// runs out of draws cannot make it endless. The next run goes on from there.
constexpr int DownloadDrawsLimit = 100000;

struct TDownloadSettings {
    std::string OperatorUrl;
    std::string ProxyListUrl;
    int MaxDraws = DownloadDrawsLimit;
    // Draws dated from here on are refused (archive::DownloadDateLimit of the download's start).
    game::TDateTime DateLimit = 0;
    // False where nobody can answer (batch runs): a failure then ends the download instead of
    // asking whether to try again.
    bool AskRetry = true;
};

struct TDownloadResult {
    int Added = 0;
    int Pages = 0;                      // pages read
    archive::TSkipCounts Skipped;
    bool Failed = false;                // ended by a failure that was not retried
    std::string Failure;                // its text
    bool Cancelled = false;             // the user stopped it; what earlier pages added stays
    bool LimitReached = false;          // stopped after MaxDraws (also Failed)
};

// What one page did.
struct TPageOutcome {
    bool ProxyChosen = true;   // false: no proxy could be chosen and nothing was sent
    bool Full = false;         // the page listed a whole range, so another may follow
    int Added = 0;
    bool Saved = true;         // false: the archive could not be written (already shown)
};

// One page: the status text "Загрузка тиражей %d - %d...", the page of first..last through the
// proxy settings, its draws checked, appended and saved; skipped draws are added to the
// result's counts. Fails with kv::Error (a network failure, a marker without its partner, a
// page that is no list of draws, a list none of whose draws could be taken).
TPageOutcome FetchDrawRange(workspace::Workspace& ws, shell::Shell& shell, const TWebAccess& web,
                            const TDownloadSettings& settings, int first, int last, int attempt,
                            TDownloadResult& result);

// The loop: the draws after the newest one, 50 numbers a page, appended to the file after every
// page, until a page lists fewer than 50 draws or adds nothing, or MaxDraws were added (a
// failure, also shown as a warning where someone can read it). A failure retries silently with the next
// automatically found proxy, else asks "Ошибка загрузки архива тиражей с сайта: ..." (Yes
// retries the same range). A cancel (kv::Cancelled, or the wait window's Cancel) ends the loop
// without the question. The proxy candidates are dropped at the end.
TDownloadResult DownloadDraws(workspace::Workspace& ws, shell::Shell& shell, const TWebAccess& web,
                              const TDownloadSettings& settings);

// The command around the loop: busy, the wait window and "Загрузка архива тиражей...", then in
// every case the stake check with the new draws, the status cleared and the wait window closed.
TDownloadResult RunDrawsDownload(workspace::Workspace& ws, shell::Shell& shell, const stats::TStatList& stats,
                                 const TWebAccess& web, const TDownloadSettings& settings);

// The one line after a download that added draws: "Загрузка архива тиражей завершена, добавлено
// тиражей: 5; последний тираж: 45 от 14.02.2015 10:00" (without the newest draw when none was
// added).
std::string DownloadSummary(const TDownloadResult& result, const game::TDrawsArray& draws);

// Start-up's choice by DownloadDrawsOnStart: 0 asks StartupDownloadQuestion (Yes downloads),
// 1 downloads without asking, 2 does nothing. A restart (after a language change) was asked
// a moment ago: 0 then does nothing.
inline constexpr const char* StartupDownloadQuestion =
    "Обновить список тиражей?\n\nДля выполнения обновления необходимо действующее подключение к сети Интернет.";
bool DownloadOnStart(int downloadDrawsOnStart, shell::Shell& shell, bool restarted = false);

// One line per reason with skipped draws: "тираж уже есть в архиве: 3".
std::vector<std::string> SkippedLines(const archive::TSkipCounts& skipped);
// The report at the end of a download with skipped draws, or empty:
// "Пропущено тиражей: 4\n\nтираж уже есть в архиве: 3\n...".
std::string SkippedText(const archive::TSkipCounts& skipped);

} // namespace kv::online
