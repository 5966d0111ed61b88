#pragma once
#include <QString>
#include <QTableView>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/util/format.h"
#include "core/workspace/formsettings.h"

// A catalogue time (Unix seconds, UTC) as local "yyyy-mm-dd hh:mm:ss"; empty for 0.
QString CatalogTime(int64_t utc);

// The column widths of an online list as "<list>.Column<n>" in the .frm.
inline void RestoreListColumns(QTableView* view, const kv::workspace::FormSettings& frm, const char* list)
{
    for (int c = 0; c < view->model()->columnCount(); ++c) {
        const int w = frm.ReadInt(kv::util::Format("%s.Column%d", {list, c}), -1);
        if (w > 0 && w < 2000) view->setColumnWidth(c, w);
    }
}
inline void SaveListColumns(const QTableView* view, const char* list, std::vector<std::pair<std::string, std::string>>& values)
{
    for (int c = 0; c < view->model()->columnCount(); ++c)
        values.emplace_back(kv::util::Format("%s.Column%d", {list, c}), std::to_string(view->columnWidth(c)));
}
