#pragma once
#include <QString>
#include <string>

#include "core/online/catalog.h"

class QLabel;
class QWidget;
namespace kv::shell {
class Shell;
}
namespace kv::workspace {
class Workspace;
}

// The catalogue as the program reaches it: the address of [ONLINE] CatalogUrl (or
// KVANTA_CATALOG_URL), the identity of [ONLINE], requests run off the window's thread so the
// window repaints while the server answers.
kv::online::TCatalogClient MakeCatalogClient(const kv::workspace::Workspace& ws);
std::string CatalogAddress(const kv::workspace::Workspace& ws);
// Asks for the author name and e-mail when they are not known yet; false when cancelled.
bool EnsureOnlineIdentity(const kv::workspace::Workspace& ws, QWidget* parent);
// The update check of the start: "Доступна новая версия программы: %s (address)" when the
// catalogue announces a newer version than this one; empty otherwise (an unreachable server included).
QString CheckForUpdate(const kv::workspace::Workspace& ws);
// "Поиск обновлений": asks the catalogue now and says what it found, or why it could not ask.
void SearchForUpdate(const kv::workspace::Workspace& ws, kv::shell::Shell& shell);
// The line a panel shows instead of its list when the catalogue cannot be reached.
QString CatalogUnreachableText(const kv::workspace::Workspace& ws, const std::string& reason);
// The one red line over a list that says the catalogue cannot be reached: it never widens the
// window, ends a long text with "…" and gives the whole text as its tooltip.
QLabel* NewCatalogNotice(const QString& objectName);
// A failed list load, at the start or on "Обновить": the line in `notice`, no message box; when
// the list shown before was kept it says so.
void ReportCatalogFailure(const kv::workspace::Workspace& ws, QLabel* notice, const std::string& reason, bool listKept);
inline constexpr const char* ListKeptText = "; показан прежний список";
