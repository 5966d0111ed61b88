#include "app/formhelp.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <cstring>

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

TDialogHelp::TDialogHelp(std::function<QString()> index, QObject* parent) : QObject(parent), m_index(std::move(index)) {}

namespace {

const std::pair<const char*, const char*> DialogPages[] = {
    {"TFormFilter", "filters.html"},        {"TFormFavorites", "filters.html"},
    {"TFormGenerate", "combinations.html"}, {"TFormShredding", "shredding.html"},
    {"TFormStake", "stakes.html"},          {"TFormMultiStake", "stakes.html"},
    {"TFormStakeFilter", "stakes.html"},    {"TFormConfig", "stakes.html"},
    {"TFormChart", "stakes.html"},          {"TFormRegular", "regulars.html"},
    {"TFormScript", "scenario.html"},       {"TFormTestCount", "scenario.html"},
    {"TFormSurvival", "scenario.html#survival"}, {"TFormScriptProps", "online.html#scripts"},
    {"TFormRates", "online.html#scripts"},  {"TFormIdentity", "online.html#scripts"},
    {"TFormSystem", "online.html#systems"}, {"TFormDraw", "archive.html"},
    {"TFormProxy", "archive.html"},         {"TFormSiteAddress", "archive.html"},
    {"TFormInfo", "archive.html"},          {"TFormMethodInfo", "stattable.html"},
};

} // namespace

QString TDialogHelp::pageOf(const QWidget* dialog)
{
    if (const QVariant own = dialog->property("helpPage"); own.isValid()) return own.toString();
    const char* kind = dialog->metaObject()->className();
    for (const auto& [name, page] : DialogPages)
        if (std::strcmp(kind, name) == 0) return QString::fromLatin1(page);
    return QStringLiteral("index.html");
}

QStringList TDialogHelp::pages()
{
    QStringList all;
    for (const auto& entry : DialogPages) all << QString::fromLatin1(entry.second);
    return all;
}

bool TDialogHelp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1
        || static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier)
        return false;
    QWidget* dialog = QApplication::activeModalWidget();
    auto* target = qobject_cast<QWidget*>(watched);
    if (!dialog || !target || target->window() != dialog || qobject_cast<TFormHelp*>(dialog)) return false;
    const QString index = m_index ? m_index() : QString();
    if (index.isEmpty()) return false;
    // One help window per dialog, kept while the dialog lives.
    auto* help = dialog->findChild<TFormHelp*>(QString(), Qt::FindDirectChildrenOnly);
    if (!help) help = new TFormHelp(index, dialog);
    help->setWindowFlag(Qt::Window);
    help->showPage(pageOf(dialog));
    help->show();
    help->raise();
    help->activateWindow();
    return true;
}
