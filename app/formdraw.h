#pragma once
#include <QDialog>

#include "core/game/types.h"

class QDateEdit;
class QLineEdit;
class QSpinBox;
class QTimeEdit;
namespace kv::shell {
class Shell;
}

// The draw dialog: number, the 8 numbers and the extra number as one line, date and time.
// It stays open until the numbers are valid.
class TFormDraw : public QDialog {
    Q_OBJECT
public:
    TFormDraw(kv::shell::Shell& shell, const kv::game::TDraw& draw, bool editing, QWidget* parent = nullptr);

    kv::game::TDraw draw() const { return m_result; }
    QLineEdit* numbersEdit() const { return m_numbers; }
    QSpinBox* drawNoEdit() const { return m_drawNo; }

    void accept() override;

private:
    kv::shell::Shell& m_shell;
    QSpinBox* m_drawNo;
    QLineEdit* m_numbers;
    QDateEdit* m_date;
    QTimeEdit* m_time;
    kv::game::TDraw m_result;
};
