#include "core/filters/filterhistory.h"

namespace kv::filters {

void TFilterHistory::Append(std::string caption, std::string values, int count, THistoryKind kind)
{
    m_rows.push_back({std::move(caption), std::move(values), std::to_string(count), kind});
    changed();
}

void TFilterHistory::RemoveLast()
{
    if (m_rows.empty()) return;
    m_rows.pop_back();
    changed();
}

void TFilterHistory::Clear()
{
    m_rows.clear();
    changed();
}

void TFilterHistory::Assign(std::vector<THistoryRow> rows)
{
    m_rows = std::move(rows);
    changed();
}

void TFilterHistory::changed()
{
    if (onChanged) onChanged();
}

} // namespace kv::filters
