#pragma once
#include <QAction>
#include <QLineEdit>
#include <QSpinBox>
#include <QString>
#include <QTableView>
#include <functional>
#include <limits>
#include <vector>

#include "core/analysis/gridexport.h"
#include "core/filters/statfilter.h"
#include "core/util/sheet.h"
#include "core/stats/statlist.h"

#include "core/shell/shell.h"
#include "core/workspace/workspace.h"

#include "app/commandset.h"
#include "app/viewflags.h"
#include "app/viewhost.h"

// A window-length field of the analysis views: at least 1 draw.
inline QSpinBox* NewLengthEdit(const QString& name, int value, const QString& hint)
{
    auto* edit = new QSpinBox;
    edit->setObjectName(name);
    edit->setRange(1, std::numeric_limits<int>::max());
    edit->setValue(value);
    edit->setToolTip(hint);
    edit->setStatusTip(hint);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 30);
    return edit;
}

// Enter in a spin field runs `act` when the text is a value within the field's limits.
inline void OnEnter(QSpinBox* edit, std::function<void()> act)
{
    QLineEdit* line = edit->findChild<QLineEdit*>();
    QObject::connect(line, &QLineEdit::returnPressed, edit, [edit, act = std::move(act)] {
        if (!edit->hasAcceptableInput()) return;
        edit->interpretText();
        act();
    });
}

// Shows or hides an analysis tab with its command's check mark in step.
inline void ShowAnalysisTab(QWidget* page, ViewHost& host, TCommandSet& commands, const char* command, bool visible)
{
    if (QAction* a = commands.command(command)) a->setChecked(visible);
    host.setTabShown(page, visible);
}

// An analysis tab's command: flips its flag (written at once), shows or hides the tab; whether
// the tab is shown now, so the caller rebuilds it.
inline bool ToggleAnalysisTab(QWidget* page, kv::workspace::Workspace& ws, kv::shell::Shell& shell, ViewHost& host,
                              TCommandSet& commands, const char* command, bool kv::workspace::TViewSettings::* flag)
{
    const bool visible = !(ws.View().*flag);
    SaveViewFlag(ws, shell, flag, visible);
    ShowAnalysisTab(page, host, commands, command, visible);
    return visible;
}

// The number filter of the card, layout and week views: the undo copy, then the combinations
// holding (keep) or lacking (delete) a number that `gather` marks. A failure, a cell that is not
// a number included, is reported and the list shows what it holds.
void RunNumberFilter(kv::workspace::Workspace& ws, const kv::stats::TStatList& stats, kv::shell::Shell& shell,
                     kv::filters::TNumberView view, const std::function<std::vector<int>()>& gather, bool exclude);

// Selected cells as one rectangle; false without a selection.
struct CellRect {
    int top = 0, left = 0, bottom = -1, right = -1;
};
bool SelectedRect(const QTableView* view, CellRect& rect);

// The card's and the layout's cells as shown, for the spreadsheet: number texts become numbers.
inline kv::util::TExportSheet GridSheet(kv::analysis::TGridExport grid)
{
    const std::vector<bool> numeric(grid.Captions.size(), true);
    return kv::util::TExportSheet::FromTexts(std::move(grid.Title), std::move(grid.Captions), std::move(grid.Cells), numeric);
}
