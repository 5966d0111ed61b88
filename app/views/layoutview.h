#pragma once
#include <QWidget>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/viewhost.h"
#include "core/workspace/workspace.h"
#include "core/analysis/layout.h"

class QSpinBox;
class QSplitter;
class QTableWidget;
class QToolButton;
namespace kv::workspace {
class FormSettings;
}

// The tab "Схема": the numbers of a window arranged by count and newest draw, and five
// comparison lists of the counts over windows of other lengths.
class LayoutView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* TabCaption = "Схема";
    static constexpr int Lists = kv::analysis::TLayout::CompareLists;

    explicit LayoutView(const ViewContext& ctx);

    void createCommands();
    // "Экспорт ... в Microsoft Excel" of what the view shows, at the end of its context menu.
    void createExportCommand();
    // The grid and the lists while the tab is shown (without force only when an input changed).
    void refreshGrid(bool force);
    void refreshLists(bool force);
    // Repaints the grid after LayoutGradient changed.
    void repaint();
    bool tabShown() const { return m_ws.View().TabLayout; }
    void tabLayout();
    bool cellsSelected() const;
    void layoutFilter(bool exclude);
    // What the spreadsheet export receives: the title, the captions and the cells as shown.
    kv::analysis::TGridExport exportGrid() const { return m_layout.Export(); }

    // LayoutLen, LayoutCompareLen1..5, LayoutCompareHeight and the tab's state.
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;

    QTableWidget* grid() const { return m_grid; }
    QTableWidget* list(int i) const { return m_lists[static_cast<std::size_t>(i)]; }
    QSpinBox* compareEdit(int i) const { return m_compareLengths[static_cast<std::size_t>(i)]; }

private:
    void fillGrid();
    void showTab(bool visible);

    kv::analysis::TLayout m_layout;
    QSpinBox* m_length;
    QToolButton* m_refresh;
    QToolButton* m_refreshLists;
    QTableWidget* m_grid;
    QSplitter* m_splitter;
    std::array<QSpinBox*, Lists> m_compareLengths{};
    std::array<QTableWidget*, Lists> m_lists{};
};
