#include "app/formmethodinfo.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

TFormMethodInfo::TFormMethodInfo(const QString& address, QWidget* parent) : QDialog(parent), m_address(address)
{
    setObjectName(QStringLiteral("TFormMethodInfo"));
    setWindowTitle(QStringLiteral("Описание методики расчета"));
    setFont(QApplication::font("QMenu"));
    auto* layout = new QVBoxLayout(this);
    m_browser = new QTextBrowser;
    m_browser->setOpenExternalLinks(true);
    // The family's page, scrolled to the method's entry.
    if (!address.isEmpty()) m_browser->setSource(QUrl(address));
    layout->addWidget(m_browser, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 480);
}
