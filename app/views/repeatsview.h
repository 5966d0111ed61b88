#pragma once
#include <QAbstractTableModel>
#include <QDialog>

#include "core/analysis/repeats.h"
#include "core/workspace/formsettings.h"

class AnalysisChart;
class QSpinBox;
class QSplitter;
class QTableView;
namespace kv::shell {
class Shell;
}

// The repeats rows as a virtual model.
class RepeatsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RepeatsModel(const kv::analysis::TRepeats& repeats, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_repeats(repeats) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void reload();

private:
    const kv::analysis::TRepeats& m_repeats;
};

// The dialog "Количество повторов в зависимости от тиража": for each of the latest draws, how
// many earlier draws share exactly m numbers with it, as a list and a line per m. Its
// parameters, placement, list columns and chart height live in section TFormRepeats.
class TFormRepeats : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* Section = "TFormRepeats";

    TFormRepeats(const kv::game::TDrawsArray& draws, kv::shell::Shell& shell, const kv::workspace::FormSettings& frm,
                 QWidget* parent = nullptr);

    // "Рассчитать": the list and the chart anew.
    void compute();
    const kv::analysis::TRepeats& repeats() const { return m_repeats; }
    QSpinBox* lengthEdit() const { return m_length; }
    QSpinBox* depthEdit() const { return m_depth; }
    QTableView* list() const { return m_list; }
    AnalysisChart* chart() const { return m_chart; }

protected:
    void done(int result) override;

private:
    void drawChart();
    void saveSettings();

    const kv::game::TDrawsArray& m_draws;
    kv::shell::Shell& m_shell;
    kv::workspace::FormSettings m_frm;
    kv::analysis::TRepeats m_repeats;
    RepeatsModel* m_model;
    QSpinBox* m_length;
    QSpinBox* m_depth;
    QSplitter* m_splitter;
    QTableView* m_list;
    AnalysisChart* m_chart;
};
