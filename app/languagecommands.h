#pragma once
#include <functional>

#include "app/commandunit.h"
#include "core/workspace/cmdline.h"

class QMenu;
namespace kv::workspace {
class FormSettings;
}

// The interface language: the one this run starts with and the menu that chooses another,
// which takes effect by starting a new instance of the program in place of this one.
class LanguageCommands : public CommandUnit {
public:
    // `restarted` ends this run once the new instance is on its way.
    LanguageCommands(const UnitContext& ctx, const kv::workspace::FormSettings& frm, const kv::workspace::CommandLine& cmd,
                     std::function<void()> restarted);

    // Installs the language of this run before any caption is made: the command line's, else
    // the settings'; Russian when its module is missing or damaged (the user is told).
    void chooseStartLanguage();
    // The submenu "Язык интерфейса" of `settings`, one checkable command per module found.
    void createMenu(QMenu* settings);
    // A run started by the language change waits for the instance that started it to end;
    // false when it is still running after about a minute, and this run must not go on.
    bool waitForPreviousInstance();

private:
    void chooseLanguage(int id);
    void restartProgram();

    const kv::workspace::FormSettings& m_frm;
    kv::workspace::CommandLine m_cmd;
    std::function<void()> m_restarted;
    int m_language;   // the interface language of this run (a locale identifier)
};
