#pragma once
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "core/util/sheet.h"

class QAction;
class TCommandSet;
class QTableView;
class QWidget;
namespace kv::shell {
class Shell;
}

// The spreadsheet export of one list ("Экспорт в Microsoft Excel"): the list's options from its
// "*.exp" file, the save dialog (starting in the folder used last, with "Параметры экспорта..."
// and "Открыть файл после экспорта"), the workbook written and, when asked, opened. A view
// exports with one call:
//     ExportSheet(m_host.mainWindow(), m_shell, m_ws.DataDir(), workspace::ExportList::Card,
//                 SheetFromView(m_view, QStringLiteral("Карта")));
// Returns true when a file was written.
bool ExportSheet(QWidget* parent, kv::shell::Shell& shell, const std::filesystem::path& dataDir, const char* list,
                 const kv::util::TExportSheet& sheet);

// A list as the view shows it: its visible columns with their header texts, every row's display
// texts (numbers become numbers) and background colours. For views whose cells the core does
// not give as texts of their own (the number card, the layout).
kv::util::TExportSheet SheetFromView(const QTableView* view, const QString& title);

// "Экспорт в Microsoft Excel" of a list exported as shown (SheetFromView), under `list`'s options;
// the action belongs to the view. AppendToContextMenu puts it at the end of a context menu, or of
// a widget whose context menu shows its actions.
QAction* NewListExport(QTableView* view, kv::shell::Shell& shell, const std::filesystem::path& dataDir,
                       const char* list, const QString& title);
// The same as the command `name` of the window's command set, enabled while the list has rows.
QAction* AddListExportCommand(TCommandSet& commands, const std::string& name, QTableView* view, kv::shell::Shell& shell,
                              const std::filesystem::path& dataDir, const char* list, const QString& title);
void AppendToContextMenu(QWidget* menuOrWidget, QAction* action);

// How a written file is opened with the desktop's spreadsheet program; tests replace it.
extern std::function<bool(const QString& file)> OpenExportedFile;
