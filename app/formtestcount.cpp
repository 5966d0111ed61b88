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

int TFormTestCount::count() const
{
    return m_count->value();
}

int TFormTestCount::AskTestCount(int initial, int maximum, QWidget* parent, const QString& note)
{
    TFormTestCount dialog(initial, maximum, parent, note);
    return dialog.exec() == QDialog::Accepted ? dialog.count() : 0;
}
