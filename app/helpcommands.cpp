#include "app/helpcommands.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTabWidget>
#include <filesystem>
#include <functional>
#include <system_error>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formfirstrun.h"
#include "app/formhelp.h"
#include "app/language.h"
#include "app/onlineaccess.h"
#include "app/qtshell.h"
#include "app/viewflags.h"
#include "core/stats/statlist.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/helpfile.h"
#include "core/workspace/workspace.h"

using namespace kv;

HelpCommands::HelpCommands(const UnitContext& ctx, const workspace::FormSettings& frm) : CommandUnit(ctx), m_frm(frm)
{
    std::error_code missing;
    m_newcomer = !std::filesystem::exists(m_ws.FormFilePath(), missing);
}

void HelpCommands::createCommands()
{
    m_commands.add(cmd::About, QStringLiteral("О программе"), QString(), [this] { about(); });
    m_commands.add(cmd::SelfUpdate, QStringLiteral("Поиск обновлений"),
                   QStringLiteral("Узнать у каталога, есть ли новая версия программы"),
                   [this] { SearchForUpdate(m_ws, m_shell); });
    QAction* help = m_commands.add(cmd::GetHelp, QStringLiteral("Справка"), QString(), [this] { getHelp(); },
                                   [this] { return !m_stats.Env().HelpFile.empty(); });
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::ApplicationShortcut);
}

void HelpCommands::createUpdateCommand()
{
    QAction* a = m_commands.add(cmd::AutoSelfUpdate, QStringLiteral("Автоматическое обновление"),
                                QStringLiteral("Проверять наличие новой версии при запуске"), [this] {
                                    ToggleViewFlag(m_ws, m_shell, m_commands, &workspace::TViewSettings::AutoUpdates,
                                                   cmd::AutoSelfUpdate);
                                });
    a->setCheckable(true);
}

void HelpCommands::restoreSettings()
{
    m_commands.command(cmd::AutoSelfUpdate)->setChecked(m_ws.View().AutoUpdates);
}

void HelpCommands::checkAtStart(const std::function<void(const QString&)>& notice)
{
    if (m_ws.View().AutoUpdates) notice(CheckForUpdate(m_ws));
}

void HelpCommands::setTabs(QTabWidget* left, QTabWidget* right)
{
    m_left = left;
    m_right = right;
}

void HelpCommands::open()
{
    std::filesystem::path help = workspace::FindHelpFile(m_ws.DataDir(), m_stats.Language);
    if (help.empty())
        help = workspace::FindHelpFile(QCoreApplication::applicationDirPath().toStdString(), m_stats.Language);
    m_stats.Env().HelpFile = help.string();
    qApp->installEventFilter(new TDialogHelp([this] { return qs(m_stats.Env().HelpFile); }, this));
}

void HelpCommands::showFirstRun()
{
    // A folder without window settings is a newcomer's: the dialog comes up until ticked off.
    if (!m_frm.ReadBool("FirstRun", m_newcomer)) return;
    std::function<void()> help;
    if (!m_stats.Env().HelpFile.empty()) help = [this] { getHelp(); };
    TFormFirstRun dialog(help, m_window);
    dialog.exec();
    if (dialog.dontShowAgain() || m_newcomer)
        m_shell.Guarded("Ошибка сохранения параметров программы!", [&] { m_frm.WriteBool("FirstRun", !dialog.dontShowAgain()); });
}

QString HelpCommands::frontHelpPage() const
{
    // The tab the keyboard is in, else the right-hand one that shows the work in front.
    QTabWidget* tabs = m_right;
    if (QWidget* focus = QApplication::focusWidget(); focus && m_left && m_left->isAncestorOf(focus)) tabs = m_left;
    const QWidget* page = tabs ? tabs->currentWidget() : nullptr;
    const QVariant name = page ? page->property(PageProperty) : QVariant();
    return name.isValid() ? name.toString() : QStringLiteral("index.html");
}

void HelpCommands::getHelp()
{
    const QString index = qs(m_stats.Env().HelpFile);
    if (index.isEmpty()) return;
    if (!m_help) m_help = new TFormHelp(index, m_window);
    m_help->showPage(frontHelpPage());
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void HelpCommands::about()
{
    QMessageBox::about(m_window, TrText(QStringLiteral("О программе")),
                       TrText(QStringLiteral("<b>Kvanta 8x20</b> версия %1<br><br>"
                                             "Анализатор тиражной лотереи 8 из 20: архив тиражей, статистики, "
                                             "фильтры, ставки, рейтинги и сценарии."))
                           .arg(QStringLiteral(KV_VERSION)));
}
