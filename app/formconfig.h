#pragma once
#include <QDialog>

#include "core/stats/config.h"

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

// "Параметры системы": the stake cost and prize table, the weight coefficients, the card's
// column count with the segment of every number, and the channel width. Edits a copy; the
// caller applies data() after OK.
class TFormConfig : public QDialog {
    Q_OBJECT
public:
    explicit TFormConfig(const kv::stats::TConfigData& data, QWidget* parent = nullptr);

    kv::stats::TConfigData data() const;
    // Opens at the prize table: its first cell current and focused.
    void showPrizeTable();

    QDoubleSpinBox* costEdit() const { return m_cost; }
    QSpinBox* maxStakeEdit() const { return m_maxStake; }
    QTableWidget* profitTable() const { return m_profits; }
    QDoubleSpinBox* coefEdit(int i) const { return m_coef[i]; } // count, deviation, depth
    QCheckBox* percentsBox() const { return m_percents; }
    QCheckBox* absoluteBox() const { return m_absolute; }
    QSpinBox* columnsEdit() const { return m_cols; }
    QSpinBox* rowsEdit() const { return m_rows; }
    QTableWidget* segmentGrid() const { return m_grid; }
    QSpinBox* channelEdit() const { return m_channel; }

private:
    void layoutGrid(int cols);
    kv::game::TNumMap readSegments() const;
    void writeSegments(const kv::game::TNumMap& segments);
    void columnsChanged(int cols);
    void segmentEdited(QTableWidgetItem* item);

    kv::stats::TConfigData m_data;
    QDoubleSpinBox* m_cost;
    QSpinBox* m_maxStake;
    QTableWidget* m_profits;
    QDoubleSpinBox* m_coef[3];
    QCheckBox* m_percents;
    QCheckBox* m_absolute;
    QSpinBox* m_cols;
    QSpinBox* m_rows;
    QTableWidget* m_grid;
    QSpinBox* m_channel;
    int m_gridCols = 0;
    bool m_filling = false; // the dialog's own writes into the grid are not user edits
};
