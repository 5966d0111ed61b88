#pragma once
#include <QString>
#include <functional>

#include "app/commandunit.h"

class QTabWidget;
class TFormHelp;
namespace kv::workspace {
class FormSettings;
}

// The help menu (the help pages, the search for a new version, "О программе") and the
// first-run dialog that points a newcomer at the help.
class HelpCommands : public CommandUnit {
public:
    // The property of a tab's page that names its help page ("stattable.html"); a view added
    // later sets it on itself, and F1 opens that page while the view is in front.
    static constexpr const char* PageProperty = "helpPage";

    // A data folder without `frm`'s file is a newcomer's, so it is looked at here, before the
    // window writes one.
    HelpCommands(const UnitContext& ctx, const kv::workspace::FormSettings& frm);

    void createCommands();
    // "Автоматическое обновление": whether the start looks for a new version. Registered apart,
    // where the settings menu has always had it.
    void createUpdateCommand();
    void restoreSettings();
    // The start-up search for a new version, while the user keeps it on: `notice` shows what
    // the catalogue said (empty when nothing newer is known).
    void checkAtStart(const std::function<void(const QString&)>& notice);
    // The tabs whose front page F1 opens: the one the keyboard is in, else `right`.
    void setTabs(QTabWidget* left, QTabWidget* right);
    // Finds the help pages (in the data folder, else beside the program) and lets F1 open them
    // from dialogs as well.
    void open();
    // The first-run dialog, while the settings (or a newcomer's folder) ask for it.
    void showFirstRun();

private:
    QString frontHelpPage() const;
    void getHelp();
    void about();

    const kv::workspace::FormSettings& m_frm;
    bool m_newcomer;
    QTabWidget* m_left = nullptr;
    QTabWidget* m_right = nullptr;
    TFormHelp* m_help = nullptr;   // made at the first F1, kept for the session
};
