#include "app/language.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTabWidget>
#include <QTranslator>
#include <QWidget>

#include "app/qtshell.h"
#include "core/util/translate.h"
#include "core/workspace/language.h"

namespace {

constexpr const char* Context = "Kvanta";
constexpr const char* TranslatedProperty = "kvTranslated";

QTranslator* g_translator = nullptr;

} // namespace

std::function<bool(const QString&, const QStringList&, const QString&)> StartProgramInstance =
    [](const QString& program, const QStringList& args, const QString& dir) {
        return QProcess::startDetached(program, args, dir);
    };

std::string InstallLanguage(int language, const std::filesystem::path& exePath)
{
    using namespace kv::workspace;
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator);
        delete g_translator;
        g_translator = nullptr;
        kv::util::SetTextLookup({});
    }
    const TLanguage* chosen = FindLanguage(language);
    if (!chosen || chosen->Id == RussianLanguage) return {};
    const std::filesystem::path module = LanguageModulePath(exePath, chosen->Abbrev);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(module, ec)) return ModuleMissingText(module);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(qs(module.string())) || translator->isEmpty()) return ModuleDamagedText(module);
    g_translator = translator.release();
    RemoveQtRussian();
    QCoreApplication::installTranslator(g_translator);
    kv::util::SetTextLookup([](std::string_view russian) {
        return QCoreApplication::translate(Context, std::string(russian).c_str()).toStdString();
    });
    return {};
}

QString TrText(const QString& russian)
{
    if (!g_translator || russian.isEmpty()) return russian;
    const QString text = QCoreApplication::translate(Context, russian.toUtf8().constData());
    return text;
}

QLocale InterfaceLocale()
{
    if (!g_translator) return QLocale(QLocale::Russian, QLocale::Russia);
    return QLocale(g_translator->language());
}

void TranslateMenus(QMenuBar* bar)
{
    if (!g_translator) return;
    std::function<void(QMenu*)> walk = [&walk](QMenu* menu) {
        menu->setTitle(TrText(menu->title()));
        for (QAction* a : menu->actions())
            if (a->menu()) walk(a->menu());
    };
    for (QAction* a : bar->actions())
        if (a->menu()) walk(a->menu());
}

void TranslateTabs(QTabWidget* tabs)
{
    if (!g_translator) return;
    for (int i = 0; i < tabs->count(); ++i) tabs->setTabText(i, TrText(tabs->tabText(i)));
}

void TranslateWidgetTexts(QWidget* root)
{
    if (!g_translator) return;
    if (root->isWindow()) root->setWindowTitle(TrText(root->windowTitle()));
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (!w->toolTip().isEmpty()) w->setToolTip(TrText(w->toolTip()));
        if (!w->statusTip().isEmpty()) w->setStatusTip(TrText(w->statusTip()));
        if (auto* l = qobject_cast<QLabel*>(w)) l->setText(TrText(l->text()));
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(TrText(b->text()));
        else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(TrText(g->title()));
        else if (auto* e = qobject_cast<QLineEdit*>(w)) e->setPlaceholderText(TrText(e->placeholderText()));
        else if (auto* box = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < box->count(); ++i) box->setItemText(i, TrText(box->itemText(i)));
        } else if (auto* t = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < t->count(); ++i) {
                t->setTabText(i, TrText(t->tabText(i)));
                t->setTabToolTip(i, TrText(t->tabToolTip(i)));
            }
        } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
            for (int col = 0; col < table->columnCount(); ++col)
                if (QTableWidgetItem* item = table->horizontalHeaderItem(col)) {
                    item->setText(TrText(item->text()));
                    item->setToolTip(TrText(item->toolTip()));
                }
        }
        for (QAction* a : w->actions()) {
            a->setText(TrText(a->text()));
            if (a->toolTip() != a->text()) a->setToolTip(TrText(a->toolTip()));
            a->setStatusTip(TrText(a->statusTip()));
        }
    }
}

bool TWindowTextTranslator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && g_translator) {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && window->isWindow() && !window->property(TranslatedProperty).toBool()) {
            window->setProperty(TranslatedProperty, true);
            TranslateWidgetTexts(window);
        }
    }
    return QObject::eventFilter(watched, event);
}
