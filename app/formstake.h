#pragma once
#include <QDialog>
#include <cstdint>

#include "core/stakes/stakerecord.h"

class QButtonGroup;
class QLineEdit;
class QSpinBox;
namespace kv::shell {
class Shell;
}

// "Добавление ставки": the draw, the 8 numbers with their running sum, a comment and the number
// of consecutive draws. It stays open until the numbers and the comment are acceptable.
class TFormStake : public QDialog {
    Q_OBJECT
public:
    TFormStake(kv::shell::Shell& shell, const kv::stakes::TStakeRecord& stake, int drawsCount,
               QWidget* parent = nullptr);

    // The record given, with the draw, the comment and the sorted numbers of the dialog.
    const kv::stakes::TStakeRecord& stake() const { return m_stake; }
    int drawsCount() const;

    QSpinBox* drawNoEdit() const { return m_drawNo; }
    QLineEdit* numbersEdit() const { return m_numbers; }
    QLineEdit* sumEdit() const { return m_sum; }
    QLineEdit* commentEdit() const { return m_comment; }
    QSpinBox* drawsCountEdit() const { return m_drawsCount; }

    void accept() override;

private:
    void updateSum();

    kv::shell::Shell& m_shell;
    kv::stakes::TStakeRecord m_stake;
    QSpinBox* m_drawNo;
    QLineEdit* m_numbers;
    QLineEdit* m_sum;
    QLineEdit* m_comment;
    QSpinBox* m_drawsCount;
};

// "Добавление мультиставки": draw, number of draws and comment for a stake per combination.
class TFormMultiStake : public QDialog {
    Q_OBJECT
public:
    TFormMultiStake(kv::shell::Shell& shell, int32_t drawNo, QWidget* parent = nullptr);

    int32_t drawNo() const;
    int drawsCount() const;
    std::string comment() const;

    QSpinBox* drawNoEdit() const { return m_drawNo; }
    QSpinBox* drawsCountEdit() const { return m_drawsCount; }
    QLineEdit* commentEdit() const { return m_comment; }

    void accept() override;

private:
    kv::shell::Shell& m_shell;
    QSpinBox* m_drawNo;
    QSpinBox* m_drawsCount;
    QLineEdit* m_comment;
};

// "Удаление по условию": a condition on the hit count and its value. Every opening starts from
// the first condition and 0.
class TFormStakeFilter : public QDialog {
    Q_OBJECT
public:
    explicit TFormStakeFilter(QWidget* parent = nullptr);

    int mode() const;
    int value() const;

    // Button ids are the conditions 0..4.
    QButtonGroup* modeGroup() const { return m_mode; }
    QSpinBox* valueEdit() const { return m_value; }

private:
    QButtonGroup* m_mode;
    QSpinBox* m_value;
};
