#include "app/language.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
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

bool TWindowTextTranslator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && g_translator) {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && window->isWindow() && !window->property(TranslatedProperty).toBool()) {
            window->setProperty(TranslatedProperty, true);
            window->setWindowTitle(TrText(window->windowTitle()));
            for (QLabel* l : window->findChildren<QLabel*>()) l->setText(TrText(l->text()));
            for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) b->setText(TrText(b->text()));
            for (QGroupBox* g : window->findChildren<QGroupBox*>()) g->setTitle(TrText(g->title()));
        }
    }
    return QObject::eventFilter(watched, event);
}
