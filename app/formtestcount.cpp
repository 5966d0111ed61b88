#include "app/formtestcount.h"
#include "app/dialogutil.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

TFormTestCount::TFormTestCount(int initial, int maximum, QWidget* parent, const QString& note) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Количество тестов"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Укажите количество тестов:"));
    m_count = new QSpinBox;
    m_count->setObjectName(QStringLiteral("TestCount"));
    m_count->setRange(1, std::max(1, maximum));
    m_count->setValue(std::clamp(initial, 1, std::max(1, maximum)));
    const QString hint = QStringLiteral("Укажите количество последних тиражей, на которых будет производится тестирование");
    m_count->setToolTip(hint);
    m_count->setStatusTip(hint);
    label->setBuddy(m_count);
    layout->addWidget(label);
    layout->addWidget(m_count);
    if (!note.isEmpty()) {
        auto* noteLabel = new QLabel(note);
        noteLabel->setObjectName(QStringLiteral("TestNote"));
        noteLabel->setWordWrap(true);
        layout->addWidget(noteLabel);
    }
    AddDialogButtons(this, layout)->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    setMinimumWidth(300);
}

void TFormTestCount::addHoldout()
{
    if (m_holdout) return;
    auto* label = new QLabel(QStringLiteral("Контрольные тиражи:"));
    m_holdout = new QSpinBox;
    m_holdout->setObjectName(QStringLiteral("HoldoutCount"));
    m_holdout->setRange(0, m_count->value() - 1);
    m_holdout->setValue(0);
    const QString hint = QStringLiteral("Сколько последних тиражей теста не использовать для настройки: по ним видно, "
                                        "работает ли идея на тиражах, которых она не видела");
    m_holdout->setToolTip(hint);
    m_holdout->setStatusTip(hint);
    label->setBuddy(m_holdout);
    // Below the count, above the note and the buttons.
    auto* box = static_cast<QVBoxLayout*>(layout());
    const int at = box->indexOf(m_count) + 1;
    box->insertWidget(at, label);
    box->insertWidget(at + 1, m_holdout);
    connect(m_count, &QSpinBox::valueChanged, m_holdout, [this](int count) { m_holdout->setMaximum(count - 1); });
}

int TFormTestCount::holdout() const
{
    return m_holdout ? m_holdout->value() : 0;
}

int TFormTestCount::count() const
{
    return m_count->value();
}

int TFormTestCount::AskTestCount(int initial, int maximum, QWidget* parent, const QString& note)
{
    TFormTestCount dialog(initial, maximum, parent, note);
    return dialog.exec() == QDialog::Accepted ? dialog.count() : 0;
}
