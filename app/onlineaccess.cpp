#include "app/onlineaccess.h"

#include <QLabel>
#include <QMessageBox>

#include "app/formcatalog.h"
#include "app/qtshell.h"
#include "app/statusfield.h"
#include "app/webtransfer.h"
#include "app/language.h"
#include "core/online/online.h"
#include "core/workspace/workspace.h"
#include "net/catalogaccess.h"

using namespace kv;

namespace {

std::filesystem::path iniPath(const workspace::Workspace& ws)
{
    return ws.FilePath(workspace::Workspace::SettingsFileName);
}

} // namespace

std::string CatalogAddress(const workspace::Workspace& ws)
{
    return online::ReadOnlineUrls(iniPath(ws)).CatalogUrl;
}

online::TCatalogClient MakeCatalogClient(const workspace::Workspace& ws)
{
    online::TOnlineIdentity identity;
    try {
        identity = online::LoadOnlineIdentity(iniPath(ws));
    } catch (const std::exception&) {
        // An unwritable settings file: reading still works, changes are refused by the server
        // for want of a key.
    }
    const online::TCatalogPost post = net::MakeCatalogPost(CatalogAddress(ws));
    return online::TCatalogClient(
        [post](const std::string& path, const util::TFormFields& fields) {
            return offThread([&] { return post(path, fields); });
        },
        identity);
}

bool EnsureOnlineIdentity(const workspace::Workspace& ws, QWidget* parent)
{
    try {
        online::TOnlineIdentity identity = online::LoadOnlineIdentity(iniPath(ws));
        if (identity.Complete()) return true;
        TFormIdentity form(identity, parent);
        if (form.exec() != QDialog::Accepted) return false;
        online::SaveOnlineIdentity(iniPath(ws), form.identity());
        return true;
    } catch (const std::exception& e) {
        QMessageBox::critical(parent, QStringLiteral("Ошибка"),
                              QStringLiteral("Ошибка записи в файл конфигурации!\n\n") + qs(e.what()));
        return false;
    }
}

QString CatalogUnreachableText(const workspace::Workspace& ws, const std::string& reason)
{
    return TrText(QStringLiteral("Каталог %1 недоступен: %2")).arg(qs(CatalogAddress(ws)), qs(reason));
}

QLabel* NewCatalogNotice(const QString& objectName)
{
    auto* line = new StatusField(true, 0);
    line->setFrameShape(QFrame::NoFrame);
    line->setObjectName(objectName);
    line->setStyleSheet(QStringLiteral("color: #a00000"));
    line->hide();
    return line;
}

void ReportCatalogFailure(const workspace::Workspace& ws, QLabel* notice, const std::string& reason, bool listKept)
{
    notice->setText(CatalogUnreachableText(ws, reason) + (listKept ? QString::fromUtf8(ListKeptText) : QString()));
    notice->show();
}

QString CheckForUpdate(const workspace::Workspace& ws)
{
    try {
        return qs(online::UpdateStatusText(MakeCatalogClient(ws).LatestRelease(), KV_VERSION));
    } catch (const std::exception&) {
        // The panels already say when the catalogue cannot be reached.
    }
    return {};
}

void SearchForUpdate(const workspace::Workspace& ws, shell::Shell& shell)
{
    try {
        online::TReleaseInfo latest;
        {
            shell::BusyScope busy(shell, "Поиск обновлений...");
            latest = MakeCatalogClient(ws).LatestRelease();
        }
        shell.ShowInfo(online::UpdateCheckText(latest, KV_VERSION));
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка поиска обновлений!", e.what());
    }
}
