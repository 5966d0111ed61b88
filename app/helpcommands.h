#pragma once
#include <QObject>
#include <QString>

class QTabWidget;
class QWidget;
class TCommandSet;
class TFormHelp;
namespace kv::shell {
class Shell;
}
namespace kv::stats {
class TStatList;
}
namespace kv::workspace {
class FormSettings;
class Workspace;
}

// The help menu (the help pages, the search for a new version, "О программе") and the
// first-run dialog that points a newcomer at the help.
class HelpCommands : public QObject {
public:
    // The property of a tab's page that names its help page ("stattable.html"); a view added
    // later sets it on itself, and F1 opens that page while the view is in front.
    static constexpr const char* PageProperty = "helpPage";

    // A data folder without `frm`'s file is a newcomer's, so it is looked at here, before the
    // window writes one.
    HelpCommands(kv::workspace::Workspace& ws, kv::stats::TStatList& stats, const kv::workspace::FormSettings& frm,
                 kv::shell::Shell& shell, TCommandSet& commands, QWidget* window);

    void createCommands();
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

    kv::workspace::Workspace& m_ws;
    kv::stats::TStatList& m_stats;
    const kv::workspace::FormSettings& m_frm;
    kv::shell::Shell& m_shell;
    TCommandSet& m_commands;
    QWidget* m_window;
    bool m_newcomer;
    QTabWidget* m_left = nullptr;
    QTabWidget* m_right = nullptr;
    TFormHelp* m_help = nullptr;   // made at the first F1, kept for the session
};
