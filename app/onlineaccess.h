#pragma once
#include <QString>
#include <string>

#include "core/workspace/catalog.h"

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
kv::workspace::TCatalogClient MakeCatalogClient(const kv::workspace::Workspace& ws);
std::string CatalogAddress(const kv::workspace::Workspace& ws);
// Asks for the author name and e-mail when they are not known yet; false when cancelled.
bool EnsureOnlineIdentity(const kv::workspace::Workspace& ws, QWidget* parent);
// The update check of the start: "Доступна новая версия программы: %s" when the catalogue
// announces a newer version than this one; empty otherwise (an unreachable server included).
QString CheckForUpdate(const kv::workspace::Workspace& ws);
// The line a panel shows instead of its list when the catalogue cannot be reached.
QString CatalogUnreachableText(const kv::workspace::Workspace& ws, const std::string& reason);
// A failed list load: the quiet refresh of the start shows the line in `notice`; a refresh the
// user asked for shows the failure with its message.
void ReportCatalogFailure(const kv::workspace::Workspace& ws, kv::shell::Shell& shell, QLabel* notice, bool quiet,
                          const char* failure, const std::string& reason);
