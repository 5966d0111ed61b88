#include "app/formsiteaddress.h"
#include "app/dialogutil.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qtshell.h"
#include "core/online/online.h"

TFormSiteAddress::TFormSiteAddress(const QString& address, bool overridden, QWidget* parent, const QString& why)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormSiteAddress"));
    setWindowTitle(QStringLiteral("Адрес сайта лотереи"));
    auto* layout = new QVBoxLayout(this);
    if (!why.isEmpty()) {
        auto* reason = new QLabel(why);
        reason->setObjectName(QStringLiteral("SiteAddressReason"));
        reason->setWordWrap(true);
        layout->addWidget(reason);
    }
    layout->addWidget(new QLabel(QStringLiteral("Адрес сайта (путь к страницам архива добавляется к нему):")));
    m_edit = new QLineEdit(address);
    m_edit->setObjectName(QStringLiteral("OperatorUrl"));
    m_edit->setMinimumWidth(360);
    layout->addWidget(m_edit);
    if (overridden)
        layout->addWidget(new QLabel(QStringLiteral("Сейчас адрес задан переменной окружения KVANTA_OPERATOR_URL;\n"
                                                    "сохранённый адрес будет действовать без неё.")));
    m_error = new QLabel;
    m_error->setStyleSheet(QStringLiteral("color: #b00000"));
    m_error->hide();
    layout->addWidget(m_error);
    AddDialogButtons(this, layout);
}

QString TFormSiteAddress::address() const
{
    return m_edit->text().trimmed();
}

void TFormSiteAddress::accept()
{
    if (!kv::online::IsSiteAddress(us(address()))) {
        m_error->setText(QStringLiteral("Адрес должен начинаться с http:// или https:// и содержать имя сайта"));
        m_error->show();
        m_edit->setFocus();
        return;
    }
    QDialog::accept();
}
