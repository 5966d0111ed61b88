#include "app/formmethodinfo.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

TFormMethodInfo::TFormMethodInfo(const QString& address, QWidget* parent) : QDialog(parent), m_address(address)
{
    setObjectName(QStringLiteral("TFormMethodInfo"));
    setWindowTitle(QStringLiteral("Описание методики расчета"));
    setFont(QApplication::font("QMenu"));
    auto* layout = new QVBoxLayout(this);
    m_browser = new QTextBrowser;
    // "ms-its:" pages open in whatever viewer the desktop has for compiled help.
    m_browser->setOpenExternalLinks(true);
    if (!address.isEmpty()) {
        const QString escaped = address.toHtmlEscaped();
        m_browser->setHtml(QStringLiteral("<p><a href=\"%1\">%2</a></p>").arg(escaped, escaped));
    }
    layout->addWidget(m_browser, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 480);
}
