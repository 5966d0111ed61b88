#include "app/formproxy.h"
#include "app/dialogutil.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/qtshell.h"

using kv::workspace::TProxy;

TFormProxy::TFormProxy(const TProxy& proxy, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormProxy"));
    setWindowTitle(QStringLiteral("Параметры proxy-сервера"));
    auto* layout = new QVBoxLayout(this);
    m_choice[TProxy::ModeNone] = new QRadioButton(QStringLiteral("Не использовать proxy-сервер"));
    m_choice[TProxy::ModeAuto] = new QRadioButton(QStringLiteral("Автоматический поиск сервера (возможны задержки)"));
    m_choice[TProxy::ModeManual] = new QRadioButton(QStringLiteral("Ручной выбор proxy-сервера:"));
    for (QRadioButton* b : m_choice) {
        layout->addWidget(b);
        connect(b, &QRadioButton::toggled, this, &TFormProxy::updateFields);
    }
    auto* form = new QFormLayout;
    form->setContentsMargins(24, 0, 0, 0);
    m_server = new QLineEdit(qs(proxy.Server));
    m_server->setObjectName(QStringLiteral("ProxyServer"));
    m_port = new QSpinBox;
    m_port->setObjectName(QStringLiteral("ProxyPort"));
    m_port->setRange(1, 65535);
    m_port->setValue(proxy.Port >= 1 && proxy.Port <= 65535 ? proxy.Port : 80);
    m_user = new QLineEdit(qs(proxy.Username));
    m_user->setObjectName(QStringLiteral("ProxyUsername"));
    m_server->setMinimumWidth(240);
    m_user->setToolTip(QStringLiteral("Имя пользователя (не обязательно)"));
    m_user->setPlaceholderText(m_user->toolTip());
    m_password = new QLineEdit(qs(proxy.Password));
    m_password->setObjectName(QStringLiteral("ProxyPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setToolTip(QStringLiteral("Пароль (не обязательно)"));
    m_password->setPlaceholderText(m_password->toolTip());
    form->addRow(QStringLiteral("Имя или адрес сервера:"), m_server);
    form->addRow(QStringLiteral("Порт:"), m_port);
    form->addRow(QStringLiteral("Имя пользователя:"), m_user);
    form->addRow(QStringLiteral("Пароль:"), m_password);
    layout->addLayout(form);
    AddDialogButtons(this, layout);
    m_choice[proxy.ModeInForce()]->setChecked(true);
    updateFields();
}

uint8_t TFormProxy::choice() const
{
    for (uint8_t m = 0; m < 3; ++m)
        if (m_choice[m]->isChecked()) return m;
    return TProxy::ModeNone;
}

kv::workspace::TProxyServer TFormProxy::fields() const
{
    return {us(m_server->text().trimmed()), m_port->value(), us(m_user->text()), us(m_password->text())};
}

void TFormProxy::updateFields()
{
    const bool manual = m_choice[TProxy::ModeManual]->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(m_server), static_cast<QWidget*>(m_port), static_cast<QWidget*>(m_user),
                       static_cast<QWidget*>(m_password)})
        w->setEnabled(manual);
}
