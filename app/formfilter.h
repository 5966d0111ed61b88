#pragma once
#include <QDialog>

#include "core/filters/filteritem.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kv::shell {
class Shell;
}
namespace kv::stats {
class TStatList;
}

// "Фильтр": edits one filter description of a scenario step. Confirming runs the same checks
// as the scenario runner would, so a description that the runner would refuse never leaves the
// dialog.
class TFormFilter : public QDialog {
    Q_OBJECT
public:
    // `currentMethod` (registry index) and `drawsLength` are the statistics view's current
    // choice; they are what an item that is not Defined starts from. Refusals go to `shell`.
    TFormFilter(const kv::stats::TStatList& list, kv::shell::Shell& shell, int currentMethod, int drawsLength,
                QWidget* parent = nullptr);

    // An item that is not Defined leaves the defaults.
    void loadItem(const kv::filters::TFilterItem& item);
    // The fields as a Defined item.
    kv::filters::TFilterItem item() const;

    // Runs the dialog modally; on OK writes the edited item back and gives true.
    static bool EditFilterItem(kv::filters::TFilterItem& item, const kv::stats::TStatList& list,
                               kv::shell::Shell& shell, int currentMethod, int drawsLength,
                               QWidget* parent = nullptr);

    QComboBox* statEdit() const { return m_stat; }
    QLineEdit* drawsEdit() const { return m_draws; }
    QComboBox* sortColumnEdit() const { return m_sortColumn; }
    QComboBox* directionEdit() const { return m_direction; }
    QComboBox* modeEdit() const { return m_mode; }
    QCheckBox* multiSelectCheck() const { return m_multiSelect; }
    QComboBox* conditionEdit() const { return m_condition; }
    QLineEdit* valuesEdit() const { return m_values; }
    QLabel* valuesHint() const { return m_valuesHint; }
    QGroupBox* weightGroup() const { return m_weightGroup; }
    QCheckBox* overrideCheck() const { return m_override; }
    QDoubleSpinBox* coefEdit(int i) const { return m_coef[i]; }
    QCheckBox* percentsCheck() const { return m_percents; }
    QCheckBox* absoluteCheck() const { return m_absolute; }
    QComboBox* stopModeEdit() const { return m_stopMode; }
    QSpinBox* stopValueEdit() const { return m_stopValue; }

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateEnabled();
    void showWeights(const kv::stats::TWeightCoefs& weights);

    const kv::stats::TStatList& m_list;
    kv::shell::Shell& m_shell;

    QComboBox* m_stat;
    QLineEdit* m_draws;
    QComboBox* m_sortColumn;
    QComboBox* m_direction;
    QComboBox* m_mode;
    QCheckBox* m_multiSelect;
    QComboBox* m_condition;
    QLineEdit* m_values;
    QLabel* m_valuesHint;
    QGroupBox* m_weightGroup;
    QCheckBox* m_override;
    QDoubleSpinBox* m_coef[3];
    QCheckBox* m_percents;
    QCheckBox* m_absolute;
    QComboBox* m_stopMode;
    QSpinBox* m_stopValue;

    // What was loaded, so that a field the user left alone gives back the loaded value exactly:
    // the spin boxes keep three decimals of an extended float, and the statistic section keeps
    // the spelling it was read with.
    kv::filters::TFilterItem m_loaded;
    kv::stats::TWeightCoefs m_shown;
    double m_shownCoefs[3] = {0, 0, 0};
    int m_loadedMethod = -1;
};
