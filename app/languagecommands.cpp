#include "app/languagecommands.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QStringList>
#include <QThread>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/language.h"
#include "app/qtshell.h"
#include "core/shell/shell.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/language.h"
#include "core/workspace/process.h"

using namespace kv;

LanguageCommands::LanguageCommands(const UnitContext& ctx, const workspace::FormSettings& frm, const workspace::CommandLine& cmd,
                                   std::function<void()> restarted)
    : CommandUnit(ctx), m_frm(frm), m_cmd(cmd), m_restarted(std::move(restarted)), m_language(workspace::RussianLanguage)
{
}

void LanguageCommands::chooseStartLanguage()
{
    m_language = workspace::ChosenLanguage(m_frm.ReadInt("Language", workspace::RussianLanguage), m_cmd);
    const std::string problem = InstallLanguage(m_language, QCoreApplication::applicationFilePath().toStdString());
    if (!problem.empty()) {
        m_language = workspace::RussianLanguage;
        m_shell.ShowError(problem);
    }
    static TWindowTextTranslator* translator = nullptr;
    if (!translator) {
        translator = new TWindowTextTranslator(qApp);
        qApp->installEventFilter(translator);
    }
}

void LanguageCommands::createMenu(QMenu* settings)
{
    QMenu* menu = TCommandSet::addSubmenu(settings, cmd::menu::Language, QStringLiteral("Язык интерфейса"));
    auto* group = new QActionGroup(this);
    for (const workspace::TLanguage& language : workspace::ScanLanguages(QCoreApplication::applicationFilePath().toStdString())) {
        const std::string name = cmd::Language(language.Id);
        const int id = language.Id;
        QAction* a = m_commands.add(name.c_str(), QString::fromUtf8(language.Name), QString(), [this, id] { chooseLanguage(id); });
        a->setCheckable(true);
        a->setChecked(id == m_language);
        group->addAction(a);
        menu->addAction(a);
    }
}

void LanguageCommands::chooseLanguage(int id)
{
    const auto keepCheck = [this] {
        if (QAction* a = m_commands.command(QString::fromStdString(cmd::Language(m_language)))) a->setChecked(true);
    };
    if (id == m_language) return;
    const workspace::TLanguage* language = workspace::FindLanguage(id);
    const std::filesystem::path exe = QCoreApplication::applicationFilePath().toStdString();
    std::error_code ec;
    if (!language || (id != workspace::RussianLanguage
                      && !std::filesystem::is_regular_file(workspace::LanguageModulePath(exe, language->Abbrev), ec))) {
        keepCheck();
        m_shell.ShowError(workspace::ModuleMissingText(workspace::LanguageModulePath(exe, language ? language->Abbrev : "")));
        return;
    }
    if (!m_shell.Guarded("Ошибка сохранения параметров программы!", [&] { m_frm.WriteInt("Language", id); })) {
        keepCheck();
        return;
    }
    restartProgram();
}

bool LanguageCommands::waitForPreviousInstance()
{
    // The instance that restarted us may still be saving its files: give it about a minute.
    const std::string exeName = std::filesystem::path(QCoreApplication::applicationFilePath().toStdString()).filename().string();
    for (int i = 0; i < 601; ++i) {
        if (!workspace::OtherProcessRunning(exeName)) return true;
        QThread::msleep(100);
        QCoreApplication::processEvents();
    }
    return !workspace::OtherProcessRunning(exeName);
}

void LanguageCommands::restartProgram()
{
    QStringList args;
    for (const std::string& a : workspace::RestartArguments(m_cmd)) args << qs(a);
    const QString program = QCoreApplication::applicationFilePath();
    if (!StartProgramInstance || !StartProgramInstance(program, args, QFileInfo(program).absolutePath())) {
        m_shell.ShowError("Не удалось перезапустить программу!");
        return;
    }
    m_restarted();
}
