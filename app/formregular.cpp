#include "app/formregular.h"
#include "app/dialogutil.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/qtshell.h"
#include "core/stakes/stakerecord.h"

using namespace kv;

TFormRegular::TFormRegular(shell::Shell& shell, const stakes::TRegularRecord& draft,
                           const std::optional<game::TComb>& oneSelected, int selectedCount, int drawCount,
                           const stakes::TRegularsArray& existing, QWidget* parent)
    : QDialog(parent), m_shell(shell), m_one(oneSelected), m_selectedCount(selectedCount), m_drawCount(drawCount),
      m_existing(existing), m_result(draft)
{
    setWindowTitle(QStringLiteral("Добавление регулярной ставки"));
    auto* layout = new QVBoxLayout(this);

    auto* nameLabel = new QLabel(QStringLiteral("Комментарий к ставке:"));
    m_name = new QLineEdit(qs(draft.Name));
    m_name->setObjectName(QStringLiteral("RegularName"));
    m_name->setMaxLength(static_cast<int>(stakes::RegularNameMaxChars));
    nameLabel->setBuddy(m_name);
    layout->addWidget(nameLabel);
    layout->addWidget(m_name);

    m_useStart = new QRadioButton(QStringLiteral("Использовать постоянную стартовую комбинацию:"));
    m_useStart->setObjectName(QStringLiteral("UseStart"));
    layout->addWidget(m_useStart);
    m_numbers = new QLineEdit(qs(stakes::RegularNumbersFieldText(oneSelected)));
    m_numbers->setObjectName(QStringLiteral("RegularNumbers"));
    const QString hint = QStringLiteral("Введите числа, разделенные точкой с запятой или запятой");
    m_numbers->setToolTip(hint);
    m_numbers->setStatusTip(hint);
    auto* numbersRow = new QHBoxLayout;
    numbersRow->addSpacing(20);
    numbersRow->addWidget(m_numbers);
    layout->addLayout(numbersRow);
    m_useDraw = new QRadioButton(QStringLiteral("Использовать данные предыдущего тиража"));
    m_useDraw->setObjectName(QStringLiteral("UseDraw"));
    layout->addWidget(m_useDraw);
    (draft.UseDraw ? m_useDraw : m_useStart)->setChecked(true);

    auto* stepRow = new QHBoxLayout;
    auto* stepLabel = new QLabel(QStringLiteral("Шаг:"));
    m_step = new QSpinBox;
    m_step->setObjectName(QStringLiteral("RegularStep"));
    m_step->setRange(stakes::MinRegularStep, stakes::MaxRegularStep);
    m_step->setValue(draft.Step);
    stepLabel->setBuddy(m_step);
    stepRow->addWidget(stepLabel);
    stepRow->addWidget(m_step);
    stepRow->addStretch();
    layout->addLayout(stepRow);

    AddDialogButtons(this, layout)->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));

    connect(m_useStart, &QRadioButton::toggled, this, &TFormRegular::updateEnabled);
    updateEnabled();
    resize(440, sizeHint().height());
}

void TFormRegular::updateEnabled()
{
    m_numbers->setEnabled(stakes::RegularNumbersEditable(m_one.has_value(), m_useDraw->isChecked()));
}

void TFormRegular::accept()
{
    stakes::TRegularInput input;
    input.Name = us(m_name->text());
    input.UseDraw = m_useDraw->isChecked();
    input.NumbersText = us(m_numbers->text());
    input.Step = m_step->value();
    input.SelectedCombs = m_selectedCount;
    input.DrawCount = m_drawCount;
    const stakes::TRegularAccept result = stakes::AcceptRegularDialog(input, m_one, m_existing);
    if (!result.Error.empty()) {
        m_shell.ShowError(result.Error);
        QWidget* focus = m_name;
        if (result.Error == stakes::BadStakeText) focus = m_numbers;
        if (result.Error == stakes::NoStartCombText) focus = m_useDraw;
        if (result.Error == stakes::NoPreviousDrawText) focus = m_useStart;
        focus->setFocus();
        return;
    }
    m_result = result.Record;
    QDialog::accept();
}
