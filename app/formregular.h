#pragma once
#include <QDialog>
#include <optional>

#include "core/stakes/regulars.h"

class QLineEdit;
class QRadioButton;
class QSpinBox;
namespace kv::shell {
class Shell;
}

// "Добавление регулярной ставки": name, where the base comes from, and the step. It stays open
// until the input is accepted.
class TFormRegular : public QDialog {
    Q_OBJECT
public:
    // oneSelected: the combination when exactly one is selected in the combination list.
    TFormRegular(kv::shell::Shell& shell, const kv::stakes::TRegularRecord& draft,
                 const std::optional<kv::game::TComb>& oneSelected, int selectedCount, int drawCount,
                 const kv::stakes::TRegularsArray& existing, QWidget* parent = nullptr);

    const kv::stakes::TRegularRecord& record() const { return m_result; }
    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* numbersEdit() const { return m_numbers; }
    QRadioButton* startChoice() const { return m_useStart; }
    QRadioButton* drawChoice() const { return m_useDraw; }
    QSpinBox* stepEdit() const { return m_step; }

    void accept() override;

private:
    void updateEnabled();

    kv::shell::Shell& m_shell;
    std::optional<kv::game::TComb> m_one;
    int m_selectedCount = 0;
    int m_drawCount = 0;
    const kv::stakes::TRegularsArray& m_existing;
    QLineEdit* m_name;
    QRadioButton* m_useStart;
    QLineEdit* m_numbers;
    QRadioButton* m_useDraw;
    QSpinBox* m_step;
    kv::stakes::TRegularRecord m_result;
};
