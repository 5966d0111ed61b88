#include "core/online/batch.h"

#include "core/online/online.h"
#include "core/shell/shell.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/util/format.h"
#include "core/workspace/engine.h"
#include "core/workspace/workspace.h"

namespace kv::online {

namespace {

// "loadonly": download, check the stakes, say what happened. False on any failure.
bool loadOnly(workspace::Workspace& ws, shell::Shell& shell, const stats::TStatList& list, const TWebAccess& web)
{
    if (!web.GetPage) {
        shell.ShowError("Загрузка тиражей из сети в этой сборке недоступна");
        return false;
    }
    const std::filesystem::path ini = ws.FilePath(workspace::Workspace::SettingsFileName);
    workspace::LoadProxySettings(ws.Proxy(), ini, shell);
    const TOnlineUrls urls = ReadOnlineUrls(ini);
    if (urls.OperatorUrl.empty()) {
        shell.ShowError(NoOperatorUrlText);
        return false;
    }
    TDownloadSettings settings;
    settings.OperatorUrl = urls.OperatorUrl;
    settings.ProxyListUrl = urls.ProxyListUrl;
    settings.AskRetry = false;
    const TDownloadResult r = RunDrawsDownload(ws, shell, list, web, settings);
    for (const std::string& line : SkippedLines(r.Skipped)) shell.ShowMessage(shell::MessageKind::Warning, "Пропущено: " + line);
    if (r.Failed) {
        shell.ShowFailure(util::Format("Ошибка загрузки архива тиражей с сайта (добавлено тиражей: %d)!", {r.Added}),
                          r.Failure);
        return false;
    }
    shell.ShowInfo(DownloadSummary(r, ws.Draws()));
    return true;
}

} // namespace

int RunBatch(workspace::Workspace& ws, shell::Shell& shell, const workspace::CommandLine& cmd, const TWebAccess& web)
{
    workspace::TErrorWatch watch(shell);
    stats::TStatList list;
    workspace::LoadEngine(list, ws, watch);
    if (!ws.OpenStakesFile()) {
        watch.ShowError(ws.ExclusiveAccessText());
        return 1;
    }
    ws.LoadArchive(watch);
    int code = 0;
    if (cmd.loadOnly) {
        ws.LoadViewSettings();
        // The stake check after the download feeds the rating, which it then saves whole: it
        // must hold every row the file has.
        workspace::ApplyRatingsSortOrder(ws.FormFile(), ws.Ratings());
        ws.Ratings().LoadRatings(watch);
        if (!loadOnly(ws, watch, list, web)) code = 1;
    }
    if (cmd.fullRecreate || cmd.fullRefresh) {
        const stats::TPrefetchCache cache(ws.DataDir());
        const stats::TPrefetchPass pass{.Force = true,
                                        .Rebuild = cmd.fullRecreate ? stats::TPrefetchCache::AllGroups : 0u};
        try {
            // The prefetch pass reports through the run's own shell, which may offer a cancel.
            cache.CreatePrefetchFiles(list, pass, shell);
        } catch (const std::exception& e) {
            watch.ShowFailure("Ошибка инициализации программы!", e.what());
        }
    }
    ws.CloseStakesFile();
    return code != 0 || watch.ErrorShown() ? 1 : code;
}

} // namespace kv::online
