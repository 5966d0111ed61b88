#include "app/statusbar.h"

#include <QStatusBar>
#include <functional>
#include <utility>

#include "app/qtshell.h"
#include "app/runrefresh.h"
#include "app/statusfield.h"

StatusBar::StatusBar(QStatusBar* bar, QtShell& shell, RunRefresh& refresh) : m_shell(shell)
{
    for (int i = 0; i < Fields; ++i) {
        const bool messages = i == Messages;
        m_fields[i] = new StatusField(messages, messages ? 200 : i == 2 ? 150 : 80);
        m_fields[i]->setObjectName(QStringLiteral("StatusField%1").arg(i));
        bar->addWidget(m_fields[i], messages ? 1 : 0);
    }
    m_fields[2]->setAlignment(Qt::AlignCenter);
    shell.SetStatusLabel(m_fields[Messages]);
    shell.routeStatus = [&refresh](const QLabel* label, std::function<void()> show) {
        refresh.request(label, label, std::move(show));
    };
}

void StatusBar::setText(int field, const QString& text)
{
    if (field >= 0 && field < Fields) m_fields[field]->setText(text);
}

QString StatusBar::text(int field) const
{
    return field >= 0 && field < Fields ? m_fields[field]->text() : QString();
}

void StatusBar::showHint(const QString& hint)
{
    if (!m_shell.IsBusy()) m_fields[Messages]->setText(hint);
}
