#include "app/views/analysistabs.h"

#include <QItemSelectionModel>

void RunNumberFilter(kv::workspace::Workspace& ws, const kv::stats::TStatList& stats, kv::shell::Shell& shell,
                     kv::filters::TNumberView view, const std::function<std::vector<int>()>& gather, bool exclude)
{
    kv::filters::TFilterScope scope{ws.Combs(), ws.History(), ws.Draws(), ws.DrawsOffset(), ws.View().SortedDraws, shell};
    try {
        ws.Combs().MakeUndoCopy(shell);
        kv::filters::NumberFilter(stats, view, gather(), exclude, scope);
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка фильтрации комбинаций!", e.what());
    }
    ws.Combs().NotifyChanged();
}

bool SelectedRect(const QTableView* view, CellRect& rect)
{
    if (!view->selectionModel()) return false;
    const QModelIndexList cells = view->selectionModel()->selectedIndexes();
    if (cells.isEmpty()) return false;
    rect = {cells.first().row(), cells.first().column(), cells.first().row(), cells.first().column()};
    for (const QModelIndex& i : cells) {
        rect.top = std::min(rect.top, i.row());
        rect.bottom = std::max(rect.bottom, i.row());
        rect.left = std::min(rect.left, i.column());
        rect.right = std::max(rect.right, i.column());
    }
    return true;
}
