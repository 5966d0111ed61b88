#pragma once
#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

#include "app/viewhost.h"
#include "core/workspace/workspace.h"
#include "core/analysis/card.h"

class QLabel;
class QTableView;
namespace kv::workspace {
class FormSettings;
}

// The number card as a virtual model: a row per draw, newest first.
class CardModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CardModel(const kv::analysis::TCard& card, QObject* parent = nullptr) : QAbstractTableModel(parent), m_card(card) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void setColors(const kv::analysis::TCardColors& colors) { m_colors = colors; }
    void reload();

private:
    const kv::analysis::TCard& m_card;
    kv::analysis::TCardColors m_colors;
};

// The tab "Карта": every draw as a row of the card; a rectangle of number cells filters the
// combination list.
class CardView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* TabCaption = "Карта";

    explicit CardView(const ViewContext& ctx);

    void createCommands();
    // "Экспорт ... в Microsoft Excel" of what the view shows, at the end of its context menu.
    void createExportCommand();
    // Rebuilds the card while the tab is shown (without force only when the archive changed).
    void refresh(bool force);
    // Repaints after a colour setting or the channel width changed.
    void repaint();
    bool tabShown() const { return m_ws.View().TabCard; }
    void tabCard();
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    // The selection lies in the number columns.
    bool numbersSelected() const;
    void cardFilter(bool exclude);
    // What the spreadsheet export receives: the title, the captions and the cells as shown.
    kv::analysis::TGridExport exportGrid() const { return m_card.Export(); }

    QTableView* view() const { return m_view; }
    QLabel* legend() const { return m_legend; }
    const kv::analysis::TCard& card() const { return m_card; }

private:
    void showTab(bool visible);

    kv::analysis::TCard m_card;
    CardModel* m_model;
    QTableView* m_view;
    QLabel* m_legend;
};
