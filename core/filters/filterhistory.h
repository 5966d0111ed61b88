#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::filters {

// The icon of a history row.
enum class THistoryKind { Keep, Delete, Undo };

struct THistoryRow {
    std::string Caption;   // "Примененные фильтры"
    std::string Values;    // "Значения", the values joined with "; "
    std::string Count;     // "Комбинаций", the list count after the operation
    THistoryKind Kind = THistoryKind::Keep;

    bool operator==(const THistoryRow&) const = default;
};

// What was done to the combination list since it was generated, opened or pasted. Rows are only
// appended; Undo takes the last one back, a new list clears them all.
class TFilterHistory {
public:
    static constexpr const char* ColumnCaptions[3] = {"Примененные фильтры", "Значения", "Комбинаций"};

    void Append(std::string caption, std::string values, int count, THistoryKind kind);
    void RemoveLast();
    void Clear();
    // Puts back rows taken earlier with Rows() (a scenario that reuses what its filters did).
    void Assign(std::vector<THistoryRow> rows);
    const std::vector<THistoryRow>& Rows() const { return m_rows; }

    int Count() const { return static_cast<int>(m_rows.size()); }
    const THistoryRow& Row(int i) const { return m_rows[static_cast<std::size_t>(i)]; }

    // The history view must be brought up to date.
    std::function<void()> onChanged;

private:
    void changed();

    std::vector<THistoryRow> m_rows;
};

} // namespace kv::filters
