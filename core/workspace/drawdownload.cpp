#include "core/workspace/drawdownload.h"

#include "core/archive/archive.h"
#include "core/shell/shell.h"
#include "core/stakes/prizetable.h"
#include "core/stats/statlist.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/workspace/online.h"
#include "core/workspace/proxylist.h"
#include "core/workspace/workspace.h"

namespace kv::workspace {

TPageOutcome FetchDrawRange(Workspace& ws, shell::Shell& shell, const TWebAccess& web,
                            const TDownloadSettings& settings, int first, int last, int attempt,
                            TDownloadResult& result)
{
    TPageOutcome out;
    shell.SetStatusText(util::Format("Загрузка тиражей %d - %d...", {first, last}));
    const std::string url = archive::DrawPageUrl(settings.OperatorUrl, first, last);
    const TProxySearch search = [&](std::string_view target) {
        return SearchProxies(web.GetText, settings.ProxyListUrl, AutoProxyQuery(target));
    };
    TProxyServer use;
    out.ProxyChosen = ApplyProxy(ws.Proxy(), url, attempt, shell, search, use);
    if (!out.ProxyChosen) return out;
    const archive::TDrawPage read = archive::ParseDrawPage(web.GetPage(url, use, true));
    ++result.Pages;
    const int listed = static_cast<int>(read.Draws.size()) + read.Incomplete;
    out.Full = listed >= last - first + 1;
    const game::TDrawsArray draws = archive::AcceptPageDraws(read, ws.Draws(), first, last, result.Skipped);
    if (draws.empty()) return out;
    out.Added = static_cast<int>(draws.size());
    out.Saved = ws.AppendDraws(shell, draws);
    return out;
}

TDownloadResult DownloadDraws(Workspace& ws, shell::Shell& shell, const TWebAccess& web,
                              const TDownloadSettings& settings)
{
    TDownloadResult result;
    if (settings.OperatorUrl.empty()) {
        result.Failed = true;
        result.Failure = NoOperatorUrlText;
        return result;
    }
    int attempt = 1;
    const std::filesystem::path ini = ws.FilePath(Workspace::SettingsFileName);
    for (;;) {
        const int first = archive::NextDrawNo(ws.Draws(), 0);
        const int last = first + archive::DrawPageRange - 1;
        try {
            const TPageOutcome page = FetchDrawRange(ws, shell, web, settings, first, last, attempt, result);
            if (!page.ProxyChosen) {
                result.Failed = true;
                result.Failure = "Не удалось выбрать proxy-сервер";
                break;
            }
            SaveProxyIfChanged(ws.Proxy(), ini, shell);
            result.Added += page.Added;
            if (!page.Saved) {
                result.Failed = true;
                result.Failure = "Ошибка записи в файл тиражей!";
                break;
            }
            // A page that adds nothing would only be asked for again: it ends the download.
            if (page.Added == 0 || !page.Full) break;
            if (shell.WaitCancelled()) {
                result.Cancelled = true;
                break;
            }
        } catch (const Cancelled&) {
            result.Cancelled = true;
            break;
        } catch (const std::exception& e) {
            // A transfer torn down by the Cancel may fail with some other text.
            if (shell.WaitCancelled()) {
                result.Cancelled = true;
                break;
            }
            ++attempt;
            if (NextProxy(ws.Proxy())) continue;
            const std::string question =
                util::Format("Ошибка загрузки архива тиражей с сайта: \"%s\"\n\nПовторить попытку?", {e.what()});
            if (settings.AskRetry && shell.Ask("Ошибка", question, true)) continue;
            result.Failed = true;
            result.Failure = e.what();
            break;
        }
    }
    DropCandidates(ws.Proxy());
    return result;
}

TDownloadResult RunDrawsDownload(Workspace& ws, shell::Shell& shell, const stats::TStatList& stats,
                                 const TWebAccess& web, const TDownloadSettings& settings)
{
    TDownloadResult result;
    const stakes::TPrizeTable prizes(stats.Config());
    shell::BusyScope busy(shell, "Загрузка архива тиражей...");
    shell.WaitShow("Загрузка архива тиражей...");
    try {
        result = DownloadDraws(ws, shell, web, settings);
    } catch (...) {
        ws.CheckStakesAndReload(shell, prizes, ws.View().StakesLogEnabled);
        shell.SetStatusText("");
        shell.WaitClose();
        throw;
    }
    ws.CheckStakesAndReload(shell, prizes, ws.View().StakesLogEnabled);
    shell.SetStatusText("");
    shell.WaitClose();
    return result;
}

bool DownloadOnStart(int downloadDrawsOnStart, shell::Shell& shell, bool restarted)
{
    switch (downloadDrawsOnStart) {
    case 0: return !restarted && shell.Confirm(StartupDownloadQuestion);
    case 1: return true;
    default: return false;
    }
}

std::vector<std::string> SkippedLines(const archive::TSkipCounts& skipped)
{
    std::vector<std::string> lines;
    for (int r = 0; r < static_cast<int>(archive::TSkipReason::Count); ++r) {
        const auto reason = static_cast<archive::TSkipReason>(r);
        if (skipped[reason] > 0) lines.push_back(util::Format("%s: %d", {archive::SkipReasonText(reason), skipped[reason]}));
    }
    return lines;
}

std::string SkippedText(const archive::TSkipCounts& skipped)
{
    if (skipped.Total() == 0) return {};
    std::string text = util::Format("Пропущено тиражей: %d\n", {skipped.Total()});
    for (const std::string& line : SkippedLines(skipped)) text += "\n" + line;
    return text;
}

} // namespace kv::workspace
