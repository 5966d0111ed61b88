#pragma once
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSplitter>
#include <QTableView>
#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/util/format.h"
#include "core/workspace/formsettings.h"

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

// Runs `act` whenever what is selected in `view` may have changed: the selection or current row,
// and the model's resets, moves, new or removed rows and changed data (a reset clears the
// selection without a selection signal; new data under the same rows is a new selection to a
// reader of row contents).
inline void OnSelectionChanged(QTableView* view, QObject* context, const std::function<void()>& act)
{
    QItemSelectionModel* selection = view->selectionModel();
    QAbstractItemModel* model = view->model();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, context, act);
    QObject::connect(selection, &QItemSelectionModel::currentChanged, context, act);
    QObject::connect(model, &QAbstractItemModel::modelReset, context, act);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, context, act);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, context, act);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, context, act);
    QObject::connect(model, &QAbstractItemModel::dataChanged, context, act);
}

// A read-only list of whole rows; `name` is also the key of its column widths in the window
// settings.
inline QTableView* NewRowList(const QString& name, QAbstractItemModel* model,
                              QAbstractItemView::SelectionMode mode = QAbstractItemView::ExtendedSelection)
{
    auto* view = new QTableView;
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(mode);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    return view;
}

// The column widths of a list as "<list>.Column<n>" in the window settings; a hidden column
// keeps the width the file has. Widths above `widest` come from a damaged file and are not applied.
inline void RestoreListColumns(QTableView* view, const kv::workspace::FormSettings& frm, const char* list, int widest = 1999)
{
    for (int c = 0; c < view->model()->columnCount(); ++c) {
        const int w = frm.ReadInt(kv::util::Format("%s.Column%d", {list, c}), -1);
        if (w > 0 && w <= widest) view->setColumnWidth(c, w);
    }
}
inline void SaveListColumns(const QTableView* view, const char* list, std::vector<std::pair<std::string, std::string>>& values)
{
    for (int c = 0; c < view->model()->columnCount(); ++c)
        if (!view->isColumnHidden(c))
            values.emplace_back(kv::util::Format("%s.Column%d", {list, c}), std::to_string(view->columnWidth(c)));
}

// A saved height of the lower pane of a two-pane splitter (ignored unless positive): the upper
// pane takes what is left of the panes' space as it stands, at least 100. Sizes summing to more
// than that space would be scaled, and the lower pane would shrink a little with every start.
inline void RestoreLowerPane(QSplitter* splitter, int height)
{
    if (height <= 0) return;
    const QList<int> panes = splitter->sizes();
    splitter->setSizes({std::max(100, panes.value(0) + panes.value(1) - height), height});
}
