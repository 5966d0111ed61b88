#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The commands of one window: each a QAction named after the command, with its caption, hint,
// enable rule and execute slot. Menus and context menus are filled from tables of names.
class TCommandSet : public QObject {
    Q_OBJECT
public:
    // A menu table entry that puts a separator in place of a command.
    static constexpr const char* Separator = "-";

    // A menu of the menu bar: its object name (cmd::menu), caption and entries (names or Separator).
    struct TMenuLayout {
        const char* id;
        QString caption;
        std::vector<const char*> names;
    };

    // The actions belong to `owner`, so that their shortcuts work anywhere in it; `busy` tells
    // when the window runs an operation and its commands wait.
    TCommandSet(QWidget* owner, std::function<bool()> busy);

    // Registers a command, enabled only when idle and `enabled` allows. A command that works on
    // a running operation (stopping a scenario) is left to `enabled` alone while busy.
    QAction* add(const char* name, const QString& caption, const QString& hint, std::function<void()> execute,
                 std::function<bool()> enabled = {}, bool whileBusy = false);
    // The command of that name; nullptr when there is none.
    QAction* command(const QString& name) const;
    QAction* command(const char* name) const { return command(QString::fromLatin1(name)); }
    std::vector<QAction*> actions() const;

    // Enable state of every command; called when the window is idle.
    void updateActions();
    // Runs after every updateActions (window parts that follow the busy state).
    std::function<void()> onUpdated;

    void fillMenu(QMenu* menu, std::initializer_list<const char*> names);
    // Alt+letter for every menu of the bar: the first letter of its caption that no menu before
    // it took. Captions that already carry one keep it.
    static void assignMnemonics(QMenuBar* bar);
    void fillMenu(QMenu* menu, const std::vector<const char*>& names);
    QMenu* addMenu(QMenuBar* bar, const TMenuLayout& layout);
    // A menu of the bar without a table (a view fills it), named `id`.
    static QMenu* addMenu(QMenuBar* bar, const char* id, const QString& caption);
    // A submenu of `parent` named `id`.
    static QMenu* addSubmenu(QMenu* parent, const char* id, const QString& caption);
    // The actions of a widget whose context menu shows them (Qt::ActionsContextMenu).
    void fillContextMenu(QWidget* widget, std::initializer_list<const char*> names);
    // A menu that pops up on the widget's viewport, with the enable states brought up to date first.
    void popupOnRequest(QWidget* view, QWidget* viewport, QMenu* menu);
    // Names that a menu table asked for and no command answered (a fault the tests look for).
    const QStringList& missingNames() const { return m_missing; }

private:
    struct Command {
        QAction* action;
        std::function<bool()> enabled;
        bool whileBusy;
        std::function<void()> execute;
    };
    // Check marks clicked while busy (before the idle update disabled them): Qt has already moved
    // the mark, so the command runs when the work ends rather than leave mark and setting apart.
    QList<QAction*> m_deferred;
    QAction* lookUp(const char* name);

    QWidget* m_owner;
    std::function<bool()> m_busy;
    std::vector<Command> m_commands;
    QStringList m_missing;
};
