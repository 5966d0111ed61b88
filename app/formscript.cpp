#include "app/formscript.h"
#include "app/dialogutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>

#include "app/formfilter.h"
#include "app/qtshell.h"
#include "app/language.h"
#include "core/filters/filterhint.h"
#include "core/filters/filteritem.h"
#include "core/shell/shell.h"
#include "core/stats/statlist.h"

using namespace kv;

TFormScript::TFormScript(const stats::TStatList& list, shell::Shell& shell, const QString& title, int excludeCount,
                         int currentMethod, int drawsLength, QWidget* parent)
    : QDialog(parent), m_list(list), m_shell(shell), m_excludeCount(excludeCount), m_currentMethod(currentMethod),
      m_drawsLength(drawsLength)
{
    setWindowTitle(QStringLiteral("Элемент сценария"));
    auto* layout = new QVBoxLayout(this);
    m_title = new QLabel(title);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    layout->addWidget(m_title);

    auto* options = new QGridLayout;
    options->addWidget(new QLabel(QStringLiteral("Начальный список комбинаций:")), 0, 0);
    m_startList = new QComboBox;
    for (int i = 0; i < scenario::StartListCount; ++i) m_startList->addItem(qs(scenario::StartListEditorCaption(i)));
    options->addWidget(m_startList, 1, 0);
    options->addWidget(new QLabel(QStringLiteral("Кол-во тиражей:")), 0, 1);
    m_exclude = new QSpinBox;
    m_exclude->setRange(0, INT_MAX);
    m_exclude->setValue(std::max(0, excludeCount));
    options->addWidget(m_exclude, 1, 1);
    options->addWidget(new QLabel(qs(scenario::StakeModeLabel)), 2, 0, 1, 2);
    m_stakeMode = new QComboBox;
    for (int i = 0; i < scenario::StakeModeCount; ++i) m_stakeMode->addItem(qs(scenario::StakeModeEditorCaption(i)));
    options->addWidget(m_stakeMode, 3, 0, 1, 2);
    options->setColumnStretch(0, 1);
    layout->addLayout(options);
    m_clearStakes = new QCheckBox(QStringLiteral("Удалить все ставки перед выполнением (накопление только рейтинга)"));
    layout->addWidget(m_clearStakes);
    m_newOnly = new QCheckBox(QStringLiteral("Только новые ставки (пропускать те ставки, которые уже есть в списке)"));
    layout->addWidget(m_newOnly);

    auto* filters = new QGridLayout;
    for (int i = 0; i < scenario::StepFilterSlots; ++i) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("Filter%1").arg(i + 1));
        edit->installEventFilter(this);
        // The code is short for the machine; the tooltip reads it out field by field.
        connect(edit, &QLineEdit::textChanged, edit, [this, edit](const QString& text) {
            edit->setToolTip(qs(filters::FilterItemHint(filters::TextToFilterItem(us(text), m_list), m_list)));
        });
        auto* button = new QToolButton;
        button->setText(QStringLiteral("..."));
        connect(button, &QToolButton::clicked, this, [this, i] { editFilter(i); });
        filters->addWidget(new QLabel(TrText(QStringLiteral("Фильтр %1:")).arg(i + 1)), i, 0);
        filters->addWidget(edit, i, 1);
        filters->addWidget(button, i, 2);
        m_filters[static_cast<std::size_t>(i)] = edit;
        m_buttons[static_cast<std::size_t>(i)] = button;
    }
    filters->addWidget(new QLabel(QStringLiteral("Комментарии:")), scenario::StepFilterSlots, 0);
    m_comment = new QLineEdit;
    filters->addWidget(m_comment, scenario::StepFilterSlots, 1, 1, 2);
    filters->setColumnStretch(1, 1);
    layout->addLayout(filters);

    AddDialogButtons(this, layout);

    connect(m_startList, qOverload<int>(&QComboBox::currentIndexChanged), this, &TFormScript::updateEnabled);
    updateEnabled();
    resize(720, sizeHint().height());
}

void TFormScript::loadLine(const std::string& line)
{
    const scenario::TStepFields f = scenario::ReadStepLine(line, m_excludeCount);
    const scenario::TScriptHeader& h = f.Header;
    m_exclude->setValue(std::max(0, h.ExcludeCount));
    m_startList->setCurrentIndex(h.StartList < scenario::StartListCount ? h.StartList : 0);
    m_stakeMode->setCurrentIndex(h.StakeMode < scenario::StakeModeCount ? h.StakeMode : 0);
    m_clearStakes->setChecked(h.ClearStakes);
    m_newOnly->setChecked(h.NewOnly);
    for (std::size_t i = 0; i < f.Filters.size(); ++i) m_filters[i]->setText(qs(f.Filters[i]));
    m_comment->setText(qs(f.Comment));
}

std::string TFormScript::line() const
{
    scenario::TStepFields f;
    f.Header.ExcludeCount = m_exclude->value();
    f.Header.StartList = static_cast<uint8_t>(m_startList->currentIndex());
    f.Header.StakeMode = static_cast<uint8_t>(m_stakeMode->currentIndex());
    f.Header.ClearStakes = m_clearStakes->isChecked();
    f.Header.NewOnly = m_newOnly->isChecked();
    for (std::size_t i = 0; i < f.Filters.size(); ++i) f.Filters[i] = us(m_filters[i]->text());
    f.Comment = us(m_comment->text());
    return scenario::WriteStepLine(f);
}

void TFormScript::editFilter(int slot)
{
    if (slot < 0 || slot >= scenario::StepFilterSlots) return;
    QLineEdit* edit = m_filters[static_cast<std::size_t>(slot)];
    filters::TFilterItem item = filters::TextToFilterItem(us(edit->text()), m_list);
    if (!TFormFilter::EditFilterItem(item, m_list, m_shell, m_currentMethod, m_drawsLength, this)) return;
    edit->setText(qs(filters::FilterItemToText(item, m_list)));
}

bool TFormScript::EditScriptLine(std::string& line, const QString& title, int excludeCount,
                                 const stats::TStatList& list, shell::Shell& shell, int currentMethod, int drawsLength,
                                 QWidget* parent)
{
    TFormScript dialog(list, shell, title, excludeCount, currentMethod, drawsLength, parent);
    dialog.loadLine(line);
    if (dialog.exec() != QDialog::Accepted) return false;
    line = dialog.line();
    return true;
}

bool TFormScript::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < scenario::StepFilterSlots; ++i)
            if (watched == m_filters[static_cast<std::size_t>(i)]) {
                editFilter(i);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormScript::updateEnabled()
{
    // N only means something for the start list that removes the latest draws; it is still
    // written for the others, as the header text always carries it.
    m_exclude->setEnabled(m_startList->currentIndex() == scenario::StartExclude);
}
