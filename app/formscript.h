#pragma once
#include <QDialog>
#include <array>
#include <string>

#include "core/scenario/scriptheader.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace kv::shell {
class Shell;
}
namespace kv::stats {
class TStatList;
}

// "Элемент сценария": edits one step line of the scenario. The filter fields take free text;
// their "..." buttons (or a double click in the field) edit them in the filter dialog.
class TFormScript : public QDialog {
    Q_OBJECT
public:
    // `excludeCount` is the combination list's count of latest draws to remove, the start value
    // of "Кол-во тиражей:". `currentMethod` and `drawsLength` are what the filter dialog starts
    // from for an empty slot (the statistics view's current choice).
    TFormScript(const kv::stats::TStatList& list, kv::shell::Shell& shell, const QString& title, int excludeCount,
                int currentMethod, int drawsLength, QWidget* parent = nullptr);

    // A step line fills every field from its text; an empty one gives the defaults, with
    // "Кол-во тиражей:" at the window's count.
    void loadLine(const std::string& line);
    // The fields as a step line.
    std::string line() const;

    // Runs the dialog modally; on OK writes the new line and gives true (Cancel leaves it).
    static bool EditScriptLine(std::string& line, const QString& title, int excludeCount,
                               const kv::stats::TStatList& list, kv::shell::Shell& shell, int currentMethod,
                               int drawsLength, QWidget* parent = nullptr);

    // Opens the filter dialog for slot i (0-based) and writes a confirmed filter back.
    void editFilter(int slot);

    QLabel* titleLabel() const { return m_title; }
    QComboBox* startListEdit() const { return m_startList; }
    QSpinBox* excludeEdit() const { return m_exclude; }
    QComboBox* stakeModeEdit() const { return m_stakeMode; }
    QCheckBox* clearStakesCheck() const { return m_clearStakes; }
    QCheckBox* newOnlyCheck() const { return m_newOnly; }
    QLineEdit* filterEdit(int slot) const { return m_filters[static_cast<std::size_t>(slot)]; }
    QToolButton* filterButton(int slot) const { return m_buttons[static_cast<std::size_t>(slot)]; }
    QLineEdit* commentEdit() const { return m_comment; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateEnabled();

    const kv::stats::TStatList& m_list;
    kv::shell::Shell& m_shell;
    int m_excludeCount;
    int m_currentMethod;
    int m_drawsLength;

    QLabel* m_title;
    QComboBox* m_startList;
    QSpinBox* m_exclude;
    QComboBox* m_stakeMode;
    QCheckBox* m_clearStakes;
    QCheckBox* m_newOnly;
    std::array<QLineEdit*, kv::scenario::StepFilterSlots> m_filters{};
    std::array<QToolButton*, kv::scenario::StepFilterSlots> m_buttons{};
    QLineEdit* m_comment;
};
