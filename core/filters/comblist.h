#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/filters/filterhistory.h"
#include "core/game/types.h"

namespace kv::shell {
class Shell;
}

namespace kv::filters {

class TFilterHistory;

using game::TComb;
using game::TCombsArray;

// Status-bar field 3 of the main window.
std::string CombCountText(int count);   // "Комбинаций: %d"

// The working set of combinations with its one-level undo copy and the combination buffer that
// scenarios keep between steps. Each array is a vector whose size is its count; the capacity
// reserved by Init is never given back, so refilling the list allocates nothing.
class TCombList {
public:
    // Gives all three arrays room for every combination of the game; counts 0.
    void Init(int capacity = game::CombCount);

    // --- the list ------------------------------------------------------------------------------
    int Count() const { return static_cast<int>(list().size()); }
    bool Empty() const { return list().empty(); }
    std::span<const TComb> Combs() const { return list(); }
    std::span<TComb> Combs() { return change(); }
    const TComb& operator[](int i) const { return list()[static_cast<std::size_t>(i)]; }
    // For passes that change the list in bulk. Keep the capacity: no shrink_to_fit, no swap with
    // a smaller vector.
    TCombsArray& Items() { return change(); }
    const TCombsArray& Items() const { return list(); }
    // For passes that fill the list afresh: the list emptied, its storage to fill.
    TCombsArray& Refill()
    {
        Clear();
        return m_list;
    }
    void Clear()
    {
        m_shared.reset();
        m_listId = 0;
        m_list.clear();
    }
    void Append(const TComb& comb) { change().push_back(comb); }
    // List := a list held elsewhere that nobody changes (the full set, a remembered filter
    // pass), named `id`: shared rather than copied until the list is changed.
    void Share(std::shared_ptr<const TCombsArray> content, uint64_t id)
    {
        Clear();
        m_shared = std::move(content);
        m_listId = id;
    }
    // The content the list shows from elsewhere; null when it holds its own.
    const std::shared_ptr<const TCombsArray>& SharedContent() const { return m_shared; }
    // The list's content moves to `holder`, whose storage the list takes in exchange (nothing is
    // copied or allocated), and the list shares it from there, named `id`.
    void HandOver(const std::shared_ptr<TCombsArray>& holder, uint64_t id)
    {
        own();
        m_list.swap(*holder);
        Share(holder, id);
    }

    // What the list holds as the filter memo names it, so that an identical earlier pass is
    // found without comparing lists: 0 for a list nothing is known of. Every change through
    // Items(), Combs() or a command forgets it; whoever fills the list names it afterwards.
    // The undo copy and the buffer keep the name of the list they were made from.
    static constexpr uint64_t FullSetId = 1;   // the full list of the game, in generated order
    uint64_t ContentId() const { return m_listId; }
    uint64_t UndoContentId() const { return m_undoId; }
    void SetContentId(uint64_t id) { m_listId = id; }
    // Byte-for-byte equality with some element (the numbers in the same order).
    bool ListContains(const TComb& comb) const;

    // The list view must show the new list (row count, repaint, CombCountText).
    std::function<void()> onListChanged;
    void NotifyChanged();

    // --- the undo copy -------------------------------------------------------------------------
    bool HasUndo() const { return !undo().empty(); }
    int UndoCount() const { return static_cast<int>(undo().size()); }
    std::span<const TComb> UndoCombs() const { return undo(); }
    // Undo copy := list. A failure empties the undo copy and is passed on.
    void MakeUndoCopy(shell::Shell& shell, bool showStatus = true);
    // Undo copy := list, by moving the list there: the list is left empty for a command that
    // rebuilds it from the copy at once. The same status as MakeUndoCopy.
    void MoveToUndo(shell::Shell& shell, bool showStatus = true);
    // List := undo copy, which is emptied. A failure empties the list and is passed on.
    void RestoreUndoCopy(shell::Shell& shell, bool showStatus = true);
    void DiscardUndoCopy()
    {
        m_undo.clear();
        m_undoShared.reset();
        m_undoId = 0;
        m_undoHistory.reset();
    }
    // After a whole run that went through many lists (a scenario test): the undo copy becomes the
    // list from before the run, and Undo puts back that list's history rows too.
    void SetUndoSnapshot(TCombsArray list, std::vector<THistoryRow> history);
    // The CombsUndo command: the previous list back and its history row gone; false when there
    // is nothing to undo.
    bool Undo(TFilterHistory& history, shell::Shell& shell);
    // List := the elements of the undo copy that `keep` accepts, in their order (the pattern of
    // every changing command after MakeUndoCopy).
    template <typename Keep>
    void KeepFromUndo(Keep keep)
    {
        Clear();
        for (const TComb& c : undo())
            if (keep(c)) m_list.push_back(c);
    }

    // --- the combination buffer ------------------------------------------------------------------
    // Labelled with the draws offset and the number of removed last draws the list was made for.
    // Store copies the list only when the label differs; a failure is shown and leaves the
    // buffer invalid.
    void StoreCombsBuffer(int offset, int n, shell::Shell& shell);
    // List := buffer when the label matches and the buffer is not empty.
    bool LoadCombsBuffer(int offset, int n, shell::Shell& shell);
    void InvalidateCombsBuffer();
    int BufferOffset() const { return m_bufferOffset; }
    int BufferDraws() const { return m_bufferDraws; }
    int BufferCount() const { return static_cast<int>(m_buffer.size()); }

    // --- commands on the list (each after MakeUndoCopy: they rebuild the list from the copy) ----
    // Removes the combinations drawn in the last n draws of the analysis window (the archive up
    // to drawsOffset draws before the newest), whatever order the draw holds its numbers in.
    void RemoveLastDraws(int n, const game::TDrawsArray& draws, int drawsOffset, TFilterHistory& history,
                         shell::Shell& shell);
    // Removes the given list rows (any order; rows outside the list are ignored).
    void DeleteSelected(std::vector<int> rows, TFilterHistory& history, shell::Shell& shell);

private:
    // The list and the undo copy are their own vectors, or shared content when that is set.
    const TCombsArray& list() const { return m_shared ? *m_shared : m_list; }
    const TCombsArray& undo() const { return m_undoShared ? *m_undoShared : m_undo; }
    // The shared content copied into the list's own vector, before a change.
    void own();
    // The list's own vector to change: shared content copied in, the name forgotten.
    TCombsArray& change()
    {
        own();
        m_listId = 0;
        return m_list;
    }

    TCombsArray m_list;
    TCombsArray m_undo;
    std::shared_ptr<const TCombsArray> m_shared, m_undoShared;
    uint64_t m_listId = 0, m_undoId = 0;
    std::optional<std::vector<THistoryRow>> m_undoHistory;
    TCombsArray m_buffer;
    uint64_t m_bufferId = 0;
    int m_bufferOffset = -1;
    int m_bufferDraws = -1;
};

} // namespace kv::filters
