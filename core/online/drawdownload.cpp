#include "core/online/drawdownload.h"

#include "core/archive/archive.h"
#include "core/game/dates.h"
#include "core/shell/shell.h"
#include "core/stakes/prizetable.h"
#include "core/stats/statlist.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/online/online.h"
#include "core/online/proxylist.h"
#include "core/workspace/workspace.h"

namespace kv::online {

namespace {

std::string joinedLines(const std::vector<std::string>& lines, std::string_view separator)
{
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : std::string(separator)) + line;
    return text;
}

} // namespace

TPageOutcome FetchDrawRange(workspace::Workspace& ws, shell::Shell& shell, const TWebAccess& web,
                            const TDownloadSettings& settings, int first, int last, int attempt,
                            TDownloadResult& result)
{
    TPageOutcome out;
    shell.SetStatusText(util::Format("Загрузка тиражей %d - %d...", {first, last}));
    const std::string url = archive::DrawPageUrl(settings.OperatorUrl, first, last);
    const TProxySearch search = [&](std::string_view target) {
        return SearchProxies(web.GetText, settings.ProxyListUrl, AutoProxyQuery(target));
    };
    workspace::TProxyServer use;
    out.ProxyChosen = ApplyProxy(ws.Proxy(), url, attempt, shell, search, use);
    if (!out.ProxyChosen) return out;
    const std::string body = web.GetPage(url, use, true);
    const archive::TDrawPage read = archive::ParseDrawPage(body);
    ++result.Pages;
    // A page of something else (an error page, a changed site) must not pass for "nothing new".
    if (!read.MarkersFound)
        throw Error(util::Format("Страница сайта не прочитана: на ней нет списка тиражей (получено байт: %d).",
                                 {static_cast<int64_t>(body.size())}));
    const int listed = static_cast<int>(read.Draws.size()) + read.Incomplete;
    out.Full = listed >= last - first + 1;
    archive::TSkipCounts skipped;
    game::TDrawsArray draws = archive::AcceptPageDraws(read, ws.Draws(), first, last, settings.DateLimit, skipped);
    // Draws the archive already holds, or listed outside the range (a site that ignores it), are
    // no damage; a list all of whose draws are damaged is.
    if (draws.empty() && listed > 0 && skipped[archive::TSkipReason::Known] == 0 &&
        skipped[archive::TSkipReason::OutOfRange] == 0)
        throw Error(util::Format("Страница сайта не прочитана: тиражей в списке %d, отклонено %d (%s).",
                                 {listed, skipped.Total(), joinedLines(SkippedLines(skipped), "; ")}));
    result.Skipped.Add(skipped);
    if (draws.empty()) return out;
    const int room = std::max(0, settings.MaxDraws - result.Added);
    if (static_cast<int>(draws.size()) > room) draws.resize(static_cast<std::size_t>(room));
    out.Saved = ws.AppendDraws(shell, draws);
    out.Added = out.Saved ? static_cast<int>(draws.size()) : 0;
    return out;
}

TDownloadResult DownloadDraws(workspace::Workspace& ws, shell::Shell& shell, const TWebAccess& web,
                              const TDownloadSettings& given)
{
    TDownloadSettings settings = given;
    if (settings.DateLimit <= 0) settings.DateLimit = archive::DownloadDateLimit(game::NowDateTime());
    TDownloadResult result;
    if (settings.OperatorUrl.empty()) {
        result.Failed = true;
        result.Failure = NoOperatorUrlText;
        return result;
    }
    int attempt = 1;
    const std::filesystem::path ini = ws.FilePath(workspace::Workspace::SettingsFileName);
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
            if (result.Added >= settings.MaxDraws) {
                result.Failed = result.LimitReached = true;
                result.Failure = util::Format("За одну загрузку принимается не больше %d тиражей; загрузка остановлена, "
                                              "следующая продолжит с тиража %d.",
                                              {settings.MaxDraws, archive::NextDrawNo(ws.Draws(), 0)});
                if (settings.AskRetry) shell.ShowMessage(shell::MessageKind::Warning, result.Failure);
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

TDownloadResult RunDrawsDownload(workspace::Workspace& ws, shell::Shell& shell, const stats::TStatList& stats,
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
    shell.SetStatusText(result.Added > 0 ? DownloadSummary(result, ws.Draws()) : "");
    shell.WaitClose();
    return result;
}

std::string DownloadSummary(const TDownloadResult& result, const game::TDrawsArray& draws)
{
    std::string text = util::Format("Загрузка архива тиражей завершена, добавлено тиражей: %d", {result.Added});
    if (result.Added > 0 && !draws.empty())
        text += util::Format("; последний тираж: %d от %s", {draws.back().DrawNo, draws.back().DateText()});
    return text;
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

} // namespace kv::online
