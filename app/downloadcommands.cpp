#include "app/downloadcommands.h"

#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdlib>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formproxy.h"
#include "app/formsiteaddress.h"
#include "app/formwait.h"
#include "app/qtshell.h"
#include "app/webtransfer.h"
#include "core/archive/drawpage.h"
#include "core/stats/statlist.h"
#include "core/util/format.h"
#include "core/workspace/proxy.h"
#include "core/workspace/workspace.h"

using namespace kv;

DownloadCommands::DownloadCommands(workspace::Workspace& ws, stats::TStatList& stats, QtShell& shell,
                                   TCommandSet& commands, QWidget* window)
    : m_ws(ws), m_stats(stats), m_shell(shell), m_commands(commands), m_window(window)
{
}

DownloadCommands::~DownloadCommands() = default;

void DownloadCommands::createCommands()
{
    QAction* download = m_commands.add(cmd::DrawsDownload, QStringLiteral("Загрузка"),
                                       QStringLiteral("Загрузка архива тиражей с сайта лотереи"), [this] { drawsDownload(); });
    download->setShortcut(QKeySequence(Qt::Key_F3));
    m_commands.add(cmd::OpenLotoSite, QStringLiteral("Сайт лотереи"), QString(), [this] { openLotoSite(); });
    const QString autoCaptions[3] = {QStringLiteral("По запросу (по умолчанию)"), QStringLiteral("Автоматически"),
                                     QStringLiteral("Отключено")};
    auto* autoGroup = new QActionGroup(this);
    for (int mode = 0; mode < 3; ++mode) {
        QAction* a = m_commands.add(cmd::AutoDownloadModes[mode], autoCaptions[mode], QString(), [this, mode] { autoDownload(mode); });
        a->setCheckable(true);
        autoGroup->addAction(a);
    }
    m_commands.add(cmd::EditProxy, QStringLiteral("Параметры proxy-сервера"), QString(), [this] { editProxy(); });
    m_commands.add(cmd::EditOperatorUrl, QStringLiteral("Адрес сайта лотереи"),
                   QStringLiteral("Адрес сайта, с которого загружается архив тиражей"), [this] { editOperatorUrl(); });
}

void DownloadCommands::restoreSettings()
{
    m_commands.command(cmd::AutoDownloadModes[m_ws.View().DownloadDrawsOnStart])->setChecked(true);
}

void DownloadCommands::open()
{
    workspace::LoadProxySettings(m_ws.Proxy(), m_ws.FilePath(workspace::Workspace::SettingsFileName), m_shell);
    m_web = std::make_unique<TWebTransfer>(m_shell.waitCancelFlag());
}

void DownloadCommands::startupDownload(bool restarted)
{
    if (online::DownloadOnStart(m_ws.View().DownloadDrawsOnStart, m_shell, restarted)) drawsDownload();
}

bool DownloadCommands::holdClose()
{
    if (!m_downloading) return false;
    m_closeAfterDownload = true;
    if (auto* wait = m_shell.waitWindow()) wait->reject();
    return true;
}

void DownloadCommands::drawsDownload()
{
    if (m_downloading || !m_web) return;
    const online::TOnlineUrls urls = operatorUrls();
    if (urls.OperatorUrl.empty()) return;
    online::TDownloadSettings settings;
    settings.OperatorUrl = urls.OperatorUrl;
    settings.ProxyListUrl = urls.ProxyListUrl;
    m_downloading = true;
    m_lastDownload = {};
    m_shell.Guarded("Ошибка загрузки архива тиражей с сайта!", [&] {
        m_lastDownload = online::RunDrawsDownload(m_ws, m_shell, m_stats, m_web->access(), settings);
    });
    m_downloading = false;
    // The download checked the stakes: the grid shows the result, and the rating, saved by the
    // check, has told its view already.
    m_ws.Shared().AnnounceStakes({.Rows = true});
    m_commands.updateActions();
    if (m_closeAfterDownload) {
        QTimer::singleShot(0, m_window, &QWidget::close);
        return;
    }
    const std::string skipped = online::SkippedText(m_lastDownload.Skipped);
    if (!skipped.empty()) m_shell.ShowMessage(shell::MessageKind::Warning, skipped);
}

void DownloadCommands::openLotoSite()
{
    const online::TOnlineUrls urls = operatorUrls();
    if (urls.OperatorUrl.empty()) return;
    const QString page = qs(archive::GamePageUrl(urls.OperatorUrl));
    if (!QDesktopServices::openUrl(QUrl(page)))
        m_shell.ShowError(util::Format("Не удалось открыть страницу \"%s\" в браузере", {us(page)}));
}

void DownloadCommands::autoDownload(int mode)
{
    m_commands.command(cmd::AutoDownloadModes[mode])->setChecked(true);
    m_shell.Guarded("Ошибка сохранения параметров программы!", [&] {
        workspace::TViewSettings s = m_ws.View();
        s.DownloadDrawsOnStart = mode;
        m_ws.SetViewSettings(s);
    });
}

void DownloadCommands::editProxy()
{
    TFormProxy dialog(m_ws.Proxy(), m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    workspace::ApplyProxyChoice(m_ws.Proxy(), dialog.choice(), dialog.fields());
    workspace::SaveProxySettings(m_ws.Proxy(), m_ws.FilePath(workspace::Workspace::SettingsFileName), m_shell, true);
}

online::TOnlineUrls DownloadCommands::operatorUrls()
{
    const auto ini = m_ws.FilePath(workspace::Workspace::SettingsFileName);
    online::TOnlineUrls urls = online::ReadOnlineUrls(ini);
    // No address is built in: the user names the site first, and the command goes on with it.
    if (urls.OperatorUrl.empty() && editOperatorUrl(QString::fromUtf8(online::OperatorUrlNeededText)))
        urls = online::ReadOnlineUrls(ini);
    return urls;
}

bool DownloadCommands::editOperatorUrl(const QString& why)
{
    const auto ini = m_ws.FilePath(workspace::Workspace::SettingsFileName);
    const char* env = std::getenv("KVANTA_OPERATOR_URL");
    const bool overridden = env && *env;
    // The address the file holds is the one to edit, not the environment's of this run.
    const online::TOnlineUrls stored = online::ReadOnlineUrls(ini, [](const char*) -> const char* { return nullptr; });
    TFormSiteAddress dialog(qs(stored.OperatorUrl), overridden, m_window, why);
    if (dialog.exec() != QDialog::Accepted) return false;
    return m_shell.Guarded("Ошибка записи в файл конфигурации!",
                           [&] { online::WriteOperatorUrl(ini, us(dialog.address())); });
}
