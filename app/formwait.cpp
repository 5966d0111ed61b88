#include "app/formwait.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormWait::TFormWait(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormWait"));
    setWindowTitle(QStringLiteral("Подождите пожалуйста..."));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    m_text = new QLabel;
    m_text->setObjectName(QStringLiteral("WaitText"));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setMinimumWidth(340);
    layout->addWidget(m_text);
    auto* row = new QHBoxLayout;
    m_cancel = new QPushButton(QStringLiteral("Отмена"));
    m_cancel->setObjectName(QStringLiteral("WaitCancel"));
    row->addStretch();
    row->addWidget(m_cancel);
    row->addStretch();
    layout->addLayout(row);
    connect(m_cancel, &QPushButton::clicked, this, &TFormWait::reject);
}

void TFormWait::setText(const QString& text)
{
    m_text->setText(text);
}

QString TFormWait::text() const
{
    return m_text->text();
}

void TFormWait::reject()
{
    if (m_cancelled) return;
    m_cancelled = true;
    m_cancel->setEnabled(false);
    emit cancelRequested();
}
