#include "app/formfilter.h"
#include "app/dialogutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

#include "app/qtshell.h"
#include "core/shell/shell.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"

using namespace kv;

namespace {

constexpr int SortColumnCount = 20;
constexpr int DefaultSortColumn = 1;

} // namespace

TFormFilter::TFormFilter(const stats::TStatList& list, shell::Shell& shell, int currentMethod, int drawsLength,
                         QWidget* parent)
    : QDialog(parent), m_list(list), m_shell(shell)
{
    setWindowTitle(QStringLiteral("Фильтр"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* field) {
        grid->addWidget(new QLabel(caption), row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };

    m_stat = new QComboBox;
    for (const stats::TChooserEntry& e : stats::BuildChoosers(list).Stat) m_stat->addItem(qs(e.Name), e.Method);
    m_stat->setCurrentIndex(std::max(0, m_stat->findData(currentMethod)));
    addRow(QStringLiteral("Тип фильтра:"), m_stat);

    m_draws = new QLineEdit(QString::number(drawsLength));
    m_draws->installEventFilter(this);
    addRow(QStringLiteral("Количество тиражей:"), m_draws);

    m_sortColumn = new QComboBox;
    for (int c = 0; c < SortColumnCount; ++c) m_sortColumn->addItem(QString::fromUtf8(stats::StatColumnCaption(c)));
    m_sortColumn->setCurrentIndex(DefaultSortColumn);
    addRow(QStringLiteral("Сортировать по столбцу:"), m_sortColumn);

    m_direction = new QComboBox;
    m_direction->addItems({QStringLiteral("Сверху-вниз"), QStringLiteral("Снизу-вверх")});
    addRow(QStringLiteral("Направление:"), m_direction);

    m_mode = new QComboBox;
    m_mode->addItems({QStringLiteral("Удалить выделенные"), QStringLiteral("Оставить выделенные")});
    addRow(QStringLiteral("Режим фильтра:"), m_mode);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    m_multiSelect =
        new QCheckBox(QStringLiteral("Использовать режим одновременного выделения нескольких значений в списке"));
    layout->addWidget(m_multiSelect);

    layout->addWidget(new QLabel(QStringLiteral("Режим выделения значений в списке статистики:")));
    m_condition = new QComboBox;
    for (int c = 0; c < filters::FilterConditionCount; ++c) m_condition->addItem(qs(filters::ConditionCaption(c)));
    layout->addWidget(m_condition);
    layout->addWidget(new QLabel(QStringLiteral("Значения:")));
    m_values = new QLineEdit;
    m_values->installEventFilter(this);
    layout->addWidget(m_values);
    // Both value fields read the same list forms; a text of another form reads as no values.
    const QString forms = QStringLiteral("1 - одно значение\n1, 2, 3 - список значений через запятую\n"
                                         "1-10;2 - нижняя и верхняя граница диапазона; шаг изменения");
    m_valuesHint = new QLabel(forms);
    m_valuesHint->setObjectName(QStringLiteral("ValueListHint"));
    m_valuesHint->setEnabled(false);
    layout->addWidget(m_valuesHint);
    m_values->setToolTip(forms);
    m_draws->setToolTip(forms);

    m_weightGroup = new QGroupBox(QStringLiteral(" Коэффициенты для расчета значений \"Вес\" "));
    auto* weights = new QGridLayout(m_weightGroup);
    m_override = new QCheckBox(QStringLiteral("Использовать собственные коэффициенты"));
    weights->addWidget(m_override, 0, 0, 1, 2);
    const QString coefCaptions[3] = {QStringLiteral("Количество:"), QStringLiteral("Отклонение:"),
                                     QStringLiteral("Глубина:")};
    for (int i = 0; i < 3; ++i) {
        m_coef[i] = new QDoubleSpinBox;
        m_coef[i]->setDecimals(3);
        m_coef[i]->setRange(-1e9, 1e9);
        m_coef[i]->setSingleStep(0.1);
        weights->addWidget(new QLabel(coefCaptions[i]), 1 + i, 0);
        weights->addWidget(m_coef[i], 1 + i, 1);
    }
    m_percents = new QCheckBox(QStringLiteral("Использовать значения в %"));
    weights->addWidget(m_percents, 4, 0, 1, 2);
    m_absolute = new QCheckBox(QStringLiteral("Использовать абсолютные значения"));
    weights->addWidget(m_absolute, 5, 0, 1, 2);
    layout->addWidget(m_weightGroup);

    auto* stop = new QGridLayout;
    m_stopMode = new QComboBox;
    for (int m = 0; m < filters::StopModeCount; ++m) m_stopMode->addItem(qs(filters::StopModeCaption(m)));
    stop->addWidget(new QLabel(QStringLiteral("Остановка по:")), 0, 0);
    stop->addWidget(m_stopMode, 0, 1);
    m_stopValue = new QSpinBox;
    m_stopValue->setRange(1, INT_MAX);
    stop->addWidget(new QLabel(QStringLiteral("Значение:")), 0, 2);
    stop->addWidget(m_stopValue, 0, 3);
    stop->setColumnStretch(1, 1);
    layout->addLayout(stop);

    AddDialogButtons(this, layout);

    connect(m_condition, qOverload<int>(&QComboBox::currentIndexChanged), this, &TFormFilter::updateEnabled);
    connect(m_override, &QCheckBox::toggled, this, &TFormFilter::updateEnabled);

    m_loadedMethod = m_stat->currentData().isValid() ? m_stat->currentData().toInt() : -1;
    showWeights(list.Config().Weights);
    updateEnabled();
    resize(560, sizeHint().height());
}

void TFormFilter::showWeights(const stats::TWeightCoefs& weights)
{
    const long double coefs[3] = {weights.CoefCount, weights.CoefDeviation, weights.CoefDepth};
    for (int i = 0; i < 3; ++i) {
        m_coef[i]->setValue(static_cast<double>(coefs[i]));
        m_shownCoefs[i] = m_coef[i]->value();
    }
    m_percents->setChecked(weights.UsePercents);
    m_absolute->setChecked(weights.UseAbsolute);
    m_shown = weights;
}

void TFormFilter::loadItem(const filters::TFilterItem& item)
{
    if (!item.Defined) return;
    m_loaded = item;
    m_stat->setCurrentIndex(std::max(0, m_stat->findData(item.Method)));
    m_loadedMethod = m_stat->currentData().isValid() ? m_stat->currentData().toInt() : -1;
    m_draws->setText(qs(item.DrawsText));
    m_sortColumn->setCurrentIndex(item.SortColumn >= 0 && item.SortColumn < SortColumnCount ? item.SortColumn
                                                                                            : DefaultSortColumn);
    m_direction->setCurrentIndex(item.BottomUp ? 1 : 0);
    m_mode->setCurrentIndex(item.KeepSelected ? 1 : 0);
    m_multiSelect->setChecked(item.MultiSelect);
    m_condition->setCurrentIndex(item.Condition < filters::FilterConditionCount ? item.Condition : 0);
    m_values->setText(qs(item.ConditionText));
    m_override->setChecked(item.OverrideWeights);
    showWeights(item.OverrideWeights ? item.Weights : m_list.Config().Weights);
    m_stopMode->setCurrentIndex(item.StopMode < filters::StopModeCount ? item.StopMode : 0);
    m_stopValue->setValue(item.StopValue);
    updateEnabled();
}

filters::TFilterItem TFormFilter::item() const
{
    filters::TFilterItem r;
    r.Defined = true;
    r.Method = m_stat->currentData().isValid() ? m_stat->currentData().toInt() : -1;
    r.DrawsText = us(m_draws->text());
    if (m_loaded.Defined && r.Method == m_loadedMethod && r.DrawsText == m_loaded.DrawsText)
        r.StatText = m_loaded.StatText;
    else if (r.Method >= 0)
        r.StatText = m_list.Method(r.Method).MethodCode() + ":" + r.DrawsText;
    r.SortColumn = m_sortColumn->currentIndex();
    r.BottomUp = m_direction->currentIndex() == 1;
    r.MultiSelect = m_multiSelect->isChecked();
    r.KeepSelected = m_mode->currentIndex() == 1;
    r.Condition = static_cast<uint8_t>(m_condition->currentIndex());
    r.ConditionText = us(m_values->text());
    r.OverrideWeights = m_override->isChecked();
    if (r.OverrideWeights) {
        // An untouched coefficient keeps the extended value it came with, not its 3-decimal image.
        long double* coefs[3] = {&r.Weights.CoefCount, &r.Weights.CoefDeviation, &r.Weights.CoefDepth};
        const long double shown[3] = {m_shown.CoefCount, m_shown.CoefDeviation, m_shown.CoefDepth};
        for (int i = 0; i < 3; ++i)
            *coefs[i] = m_coef[i]->value() == m_shownCoefs[i] ? shown[i] : static_cast<long double>(m_coef[i]->value());
        r.Weights.UsePercents = m_percents->isChecked();
        r.Weights.UseAbsolute = m_absolute->isChecked();
    } else {
        // Without the override the coefficients are not part of the description.
        r.Weights = m_loaded.Weights;
    }
    r.StopMode = static_cast<uint8_t>(m_stopMode->currentIndex());
    r.StopValue = m_stopValue->value();
    return r;
}

void TFormFilter::updateEnabled()
{
    m_weightGroup->setEnabled(filters::ConditionUsesWeights(m_condition->currentIndex()));
    const bool own = m_override->isEnabled() && m_override->isChecked();
    for (QDoubleSpinBox* coef : m_coef) coef->setEnabled(own);
    m_percents->setEnabled(own);
    m_absolute->setEnabled(own);
}

void TFormFilter::accept()
{
    if (const auto refusal = filters::CheckFilterItem(item(), m_list)) {
        m_shell.ShowError(refusal->Message);
        QWidget* field = nullptr;
        switch (refusal->Focus) {
        case filters::TFilterField::Draws: field = m_draws; break;
        case filters::TFilterField::Condition: field = m_condition; break;
        case filters::TFilterField::ConditionText: field = m_values; break;
        case filters::TFilterField::StopMode: field = m_stopMode; break;
        }
        field->setFocus();
        return;
    }
    QDialog::accept();
}

bool TFormFilter::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_draws || watched == m_values) && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        for (const char32_t key : text.toUcs4())
            if (!filters::FilterFieldAccepts(key)) return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TFormFilter::EditFilterItem(filters::TFilterItem& item, const stats::TStatList& list, shell::Shell& shell,
                                 int currentMethod, int drawsLength, QWidget* parent)
{
    TFormFilter dialog(list, shell, currentMethod, drawsLength, parent);
    dialog.loadItem(item);
    if (dialog.exec() != QDialog::Accepted) return false;
    item = dialog.item();
    return true;
}
