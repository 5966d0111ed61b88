#include "app/formhelp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString pageText(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(f.readAll()));
    return doc.toPlainText();
}

} // namespace

TFormHelp::TFormHelp(const QString& index, QWidget* parent) : QDialog(parent), m_folder(QFileInfo(index).absolutePath())
{
    setObjectName(QStringLiteral("TFormHelp"));
    setWindowTitle(QStringLiteral("Справка"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    const auto button = [bar](const char* name, const QString& text) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        bar->addWidget(b);
        return b;
    };
    QPushButton* back = button("Back", QStringLiteral("Назад"));
    QPushButton* forward = button("Forward", QStringLiteral("Вперёд"));
    QPushButton* home = button("Contents", QStringLiteral("Содержание"));
    bar->addSpacing(16);
    bar->addWidget(new QLabel(QStringLiteral("Найти:")));
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("Search"));
    bar->addWidget(m_search, 1);
    QPushButton* next = button("FindNext", QStringLiteral("Найти далее"));
    m_result = new QLabel;
    bar->addWidget(m_result);
    layout->addLayout(bar);

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({m_folder});
    layout->addWidget(m_browser, 1);

    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, this, [this] { showPage(QStringLiteral("index.html")); });
    const auto search = [this] { findText(m_search->text()); };
    connect(m_search, &QLineEdit::returnPressed, this, search);
    connect(next, &QPushButton::clicked, this, search);
    resize(760, 560);
    showPage(QStringLiteral("index.html"));
}

void TFormHelp::showPage(const QString& page)
{
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    const QString anchor = page.section(QLatin1Char('#'), 1);
    QUrl url = QUrl::fromLocalFile(QDir(m_folder).filePath(QFileInfo::exists(QDir(m_folder).filePath(file)) ? file
                                                                                                         : QStringLiteral("index.html")));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    m_browser->setSource(url);
}

QString TFormHelp::currentPage() const
{
    return QFileInfo(m_browser->source().toLocalFile()).fileName();
}

bool TFormHelp::findText(const QString& text)
{
    m_result->clear();
    if (text.trimmed().isEmpty()) return false;
    if (m_browser->find(text)) return true;
    // The rest of the help, page by page in name order after this one, then this page from its top.
    QStringList pages = QDir(m_folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    const QString current = currentPage();
    const qsizetype at = pages.indexOf(current);
    if (at >= 0) pages = pages.mid(at + 1) + pages.mid(0, at + 1);
    for (const QString& page : pages) {
        if (!pageText(QDir(m_folder).filePath(page)).contains(text, Qt::CaseInsensitive)) continue;
        if (page != current) showPage(page);
        m_browser->moveCursor(QTextCursor::Start);
        if (m_browser->find(text)) return true;
    }
    m_result->setText(QStringLiteral("Не найдено"));
    return false;
}
