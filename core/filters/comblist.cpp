#include "core/filters/comblist.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "core/filters/filterhistory.h"
#include "core/game/numbers.h"
#include "core/shell/shell.h"
#include "core/util/format.h"

namespace kv::filters {

namespace {

// An 8-number key independent of the order the numbers are held in: the sorted bytes.
uint64_t SortedKey(TComb comb)
{
    game::SortComb(comb);
    uint64_t key;
    std::memcpy(&key, comb.data(), sizeof key);
    return key;
}

// Copies without giving back capacity: assign reuses the storage whenever it is large enough.
void CopyInto(TCombsArray& to, const TCombsArray& from)
{
    to.assign(from.begin(), from.end());
}

} // namespace

std::string CombCountText(int count)
{
    return util::Format("Комбинаций: %d", {count});
}

void TCombList::Init(int capacity)
{
    const auto c = static_cast<std::size_t>(std::max(capacity, 0));
    m_list.reserve(c);
    m_undo.reserve(c);
    m_buffer.reserve(c);
    m_list.clear();
    m_undo.clear();
    m_shared.reset();
    m_undoShared.reset();
    m_listId = m_undoId = 0;
    InvalidateCombsBuffer();
}

void TCombList::own()
{
    if (!m_shared) return;
    const std::shared_ptr<const TCombsArray> content = std::move(m_shared);
    CopyInto(m_list, *content);
}

bool TCombList::ListContains(const TComb& comb) const
{
    return std::find(list().begin(), list().end(), comb) != list().end();
}

void TCombList::NotifyChanged()
{
    if (onListChanged) onListChanged();
}

void TCombList::MakeUndoCopy(shell::Shell& shell, bool showStatus)
{
    std::optional<shell::BusyScope> busy;
    if (showStatus) busy.emplace(shell, "Создание файла отката...");
    m_undoHistory.reset();
    m_undoId = 0;
    m_undoShared = m_shared;
    try {
        if (m_undoShared) m_undo.clear();
        else CopyInto(m_undo, m_list);
    } catch (...) {
        m_undo.clear();
        throw;
    }
    m_undoId = m_listId;
}

void TCombList::MoveToUndo(shell::Shell& shell, bool showStatus)
{
    std::optional<shell::BusyScope> busy;
    if (showStatus) busy.emplace(shell, "Создание файла отката...");
    m_undo.swap(m_list);
    m_undoShared = std::move(m_shared);
    m_list.clear();
    m_undoId = m_listId;
    m_listId = 0;
}

void TCombList::RestoreUndoCopy(shell::Shell& shell, bool showStatus)
{
    std::optional<shell::BusyScope> busy;
    if (showStatus) busy.emplace(shell, "Отмена изменений...");
    m_undoHistory.reset();
    Clear();
    try {
        // The copy is emptied anyway: its storage changes places with the list's.
        if (m_undoShared) m_shared = m_undoShared;
        else m_list.swap(m_undo);
        m_undo.clear();
        m_undoShared.reset();
        m_listId = m_undoId;
        m_undoId = 0;
    } catch (...) {
        m_list.clear();
        NotifyChanged();
        throw;
    }
    NotifyChanged();
}

bool TCombList::Undo(TFilterHistory& history, shell::Shell& shell)
{
    if (!HasUndo()) return false;
    std::optional<std::vector<THistoryRow>> rows = std::move(m_undoHistory);
    RestoreUndoCopy(shell);
    if (rows) history.Assign(std::move(*rows));
    else history.RemoveLast();
    return true;
}

void TCombList::SetUndoSnapshot(TCombsArray list, std::vector<THistoryRow> history)
{
    m_undo = std::move(list);
    m_undoShared.reset();
    m_undoId = 0;
    m_undoHistory = std::move(history);
}

void TCombList::StoreCombsBuffer(int offset, int n, shell::Shell& shell)
{
    if (offset == m_bufferOffset && n == m_bufferDraws) return;
    shell::BusyScope busy(shell, "Создание буфера комбинаций...");
    m_bufferOffset = offset;
    m_bufferDraws = n;
    try {
        CopyInto(m_buffer, list());
        m_bufferId = m_listId;
    } catch (const std::exception& e) {
        // A partial copy under a valid label would later be loaded as if it were whole.
        InvalidateCombsBuffer();
        shell.ShowFailure("Ошибка создания буфера комбинаций!", e.what());
    }
}

bool TCombList::LoadCombsBuffer(int offset, int n, shell::Shell& shell)
{
    if (offset != m_bufferOffset || n != m_bufferDraws || m_buffer.empty()) return false;
    {
        shell::BusyScope busy(shell, "Загрузка буфера комбинаций...");
        Clear();
        try {
            CopyInto(m_list, m_buffer);
            m_listId = m_bufferId;
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка загрузки буфера комбинаций!", e.what());
            return false;
        }
    }
    NotifyChanged();
    return true;
}

void TCombList::InvalidateCombsBuffer()
{
    m_bufferOffset = -1;
    m_bufferDraws = -1;
    m_buffer.clear();
    m_bufferId = 0;
}

void TCombList::RemoveLastDraws(int n, const game::TDrawsArray& draws, int drawsOffset, TFilterHistory& history,
                                shell::Shell& shell)
{
    {
        shell::BusyScope busy(shell, util::Format("Удаление из списка комбинаций %d последних тиражей...", {n}));

        // Draws keep the order they were drawn in while generated combinations are ascending,
        // so both sides are compared as sorted keys.
        std::vector<uint64_t> drawn;
        const int last = std::min(static_cast<int>(draws.size()) - 1 - drawsOffset, static_cast<int>(draws.size()) - 1);
        if (n > 0 && last >= 0) {
            const int first = std::max(0, last - n + 1);
            drawn.reserve(static_cast<std::size_t>(last - first + 1));
            for (int i = first; i <= last; ++i) drawn.push_back(SortedKey(draws[static_cast<std::size_t>(i)].Nums));
            std::sort(drawn.begin(), drawn.end());
        }

        const int total = UndoCount();
        const int step = std::max(1, total / 100);
        Clear();
        for (int i = 0; i < total; ++i) {
            if (i % step == 0) {
                shell.SetStatusText(util::Format("Удаление из списка комбинаций %d последних тиражей ( завершено %.0f %% )...",
                                                 {n, (i + 1) * 100.0 / total}));
                shell.ProcessEvents();
            }
            const TComb& c = undo()[static_cast<std::size_t>(i)];
            if (!drawn.empty() && std::binary_search(drawn.begin(), drawn.end(), SortedKey(c))) continue;
            m_list.push_back(c);
        }
        history.Append("Последние тиражи", std::to_string(n), Count(), THistoryKind::Delete);
    }
    NotifyChanged();
}

void TCombList::DeleteSelected(std::vector<int> rows, TFilterHistory& history, shell::Shell& shell)
{
    {
        shell::BusyScope busy(shell, "Удаление выделенных комбинаций...");
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int r) { return r < 0 || r >= UndoCount(); }),
                   rows.end());

        Clear();
        auto next = rows.begin();
        for (int i = 0; i < UndoCount(); ++i) {
            if (next != rows.end() && *next == i) {
                ++next;
                continue;
            }
            m_list.push_back(undo()[static_cast<std::size_t>(i)]);
        }
        history.Append("Выделенные комбинации", std::to_string(rows.size()), Count(), THistoryKind::Delete);
    }
    NotifyChanged();
}

} // namespace kv::filters
