#pragma once
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>
#include <vector>

// The selected rows of a list, ascending.
inline std::vector<int> SelectedRows(const QTableView* view)
{
    std::vector<int> rows;
    if (!view->selectionModel()) return rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The row a single-row command acts on: the current row when it is selected, else the first
// selected one; -1 without a selection.
inline int CurrentSelectedRow(const QTableView* view)
{
    const std::vector<int> rows = SelectedRows(view);
    if (rows.empty()) return -1;
    const QModelIndex current = view->currentIndex();
    if (current.isValid() && std::binary_search(rows.begin(), rows.end(), current.row())) return current.row();
    return rows.front();
}
