#include "app/formstake.h"
#include "app/dialogutil.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app/qtshell.h"
#include "core/game/texts.h"
#include "core/stakes/stakesfile.h"

using namespace kv;

namespace {

constexpr int MaxComment = 64;
constexpr int MaxDrawsCount = 65535;

QSpinBox* addSpin(QVBoxLayout* layout, const QString& caption, int minimum, int maximum, int value)
{
    auto* edit = new QSpinBox;
    edit->setRange(minimum, maximum);
    edit->setValue(std::clamp(value, minimum, maximum));
    auto* label = new QLabel(caption);
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
    return edit;
}

QLineEdit* addLine(QVBoxLayout* layout, const QString& caption, const QString& text)
{
    auto* edit = new QLineEdit(text);
    auto* label = new QLabel(caption);
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
    return edit;
}

} // namespace

TFormStake::TFormStake(shell::Shell& shell, const stakes::TStakeRecord& stake, int drawsCount, QWidget* parent)
    : QDialog(parent), m_shell(shell), m_stake(stake)
{
    setWindowTitle(QStringLiteral("Добавление ставки"));
    auto* layout = new QVBoxLayout(this);
    m_drawNo = addSpin(layout, QStringLiteral("Номер тиража:"), 1, std::numeric_limits<int>::max(), stake.DrawNo);
    m_numbers = addLine(layout, QStringLiteral("Ставка:"), qs(game::NumSetToText(stake.Stake, ";")));
    m_sum = addLine(layout, QStringLiteral("Сумма:"), QString());
    m_sum->setReadOnly(true);
    m_comment = addLine(layout, QStringLiteral("Комментарий к ставке:"), qs(stake.Comment));
    m_comment->setMaxLength(MaxComment);
    m_drawsCount = addSpin(layout, QStringLiteral("Кол-во тиражей:"), 1, MaxDrawsCount, drawsCount);
    AddDialogButtons(this, layout);
    connect(m_numbers, &QLineEdit::textChanged, this, &TFormStake::updateSum);
    updateSum();
    resize(360, sizeHint().height());
}

int TFormStake::drawsCount() const
{
    return m_drawsCount->value();
}

void TFormStake::updateSum()
{
    m_sum->setText(QString::number(stakes::StakeTextSum(us(m_numbers->text()))));
}

void TFormStake::accept()
{
    const std::optional<game::TNumSet> numbers = stakes::ParseStakeText(us(m_numbers->text()));
    if (!numbers) {
        m_shell.ShowError(stakes::BadStakeText);
        m_numbers->setFocus();
        return;
    }
    if (m_comment->text().isEmpty()) {
        m_shell.ShowError(stakes::NoCommentText);
        m_comment->setFocus();
        return;
    }
    m_stake.DrawNo = m_drawNo->value();
    m_stake.Comment = us(m_comment->text());
    m_stake.Stake = *numbers;
    QDialog::accept();
}

TFormMultiStake::TFormMultiStake(shell::Shell& shell, int32_t drawNo, QWidget* parent) : QDialog(parent), m_shell(shell)
{
    setWindowTitle(QStringLiteral("Добавление мультиставки"));
    auto* layout = new QVBoxLayout(this);
    m_drawNo = addSpin(layout, QStringLiteral("Номер тиража:"), 1, std::numeric_limits<int>::max(), drawNo);
    m_drawsCount = addSpin(layout, QStringLiteral("Кол-во тиражей:"), 1, MaxDrawsCount, 1);
    m_comment = addLine(layout, QStringLiteral("Комментарий к ставке:"), QStringLiteral("Ставка \"вручную\""));
    m_comment->setMaxLength(MaxComment);
    AddDialogButtons(this, layout);
    resize(360, sizeHint().height());
}

int32_t TFormMultiStake::drawNo() const
{
    return m_drawNo->value();
}

int TFormMultiStake::drawsCount() const
{
    return m_drawsCount->value();
}

std::string TFormMultiStake::comment() const
{
    return us(m_comment->text());
}

void TFormMultiStake::accept()
{
    if (m_comment->text().isEmpty()) {
        m_shell.ShowError(stakes::NoCommentText);
        m_comment->setFocus();
        return;
    }
    QDialog::accept();
}

TFormStakeFilter::TFormStakeFilter(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Удаление по условию"));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("Выберите условие:"));
    auto* boxLayout = new QVBoxLayout(box);
    m_mode = new QButtonGroup(this);
    for (int mode = 0; mode < stakes::DeleteConditionCount; ++mode) {
        auto* button = new QRadioButton(QString::fromUtf8(stakes::DeleteConditionCaption(mode)));
        m_mode->addButton(button, mode);
        boxLayout->addWidget(button);
    }
    m_mode->button(0)->setChecked(true);
    layout->addWidget(box);
    m_value = addSpin(layout, QStringLiteral("Количество совпадений"), 0, 8, 0);
    AddDialogButtons(this, layout);
    resize(300, sizeHint().height());
}

int TFormStakeFilter::mode() const
{
    return std::max(0, m_mode->checkedId());
}

int TFormStakeFilter::value() const
{
    return m_value->value();
}
