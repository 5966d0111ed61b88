#include "app/commandset.h"
#include "app/language.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QWidget>
#include <cstring>

TCommandSet::TCommandSet(QWidget* owner, std::function<bool()> busy)
    : QObject(owner), m_owner(owner), m_busy(std::move(busy))
{
}

QAction* TCommandSet::add(const char* name, const QString& caption, const QString& hint,
                          std::function<void()> execute, std::function<bool()> enabled, bool whileBusy)
{
    // Every command's texts pass here: the one place they take the interface language.
    auto* action = new QAction(TrText(caption), m_owner);
    action->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) {
        action->setStatusTip(TrText(hint));
        action->setToolTip(TrText(hint));
    }
    connect(action, &QAction::triggered, this, [this, action, whileBusy, execute] {
        if (m_busy() && !whileBusy) {
            if (action->isCheckable() && !m_deferred.contains(action)) m_deferred.append(action);
            return;
        }
        execute();
        updateActions();
    });
    m_owner->addAction(action);
    m_commands.push_back({action, std::move(enabled), whileBusy, std::move(execute)});
    return action;
}

QAction* TCommandSet::command(const QString& name) const
{
    for (const Command& c : m_commands)
        if (c.action->objectName() == name) return c.action;
    return nullptr;
}

std::vector<QAction*> TCommandSet::actions() const
{
    std::vector<QAction*> result;
    result.reserve(m_commands.size());
    for (const Command& c : m_commands) result.push_back(c.action);
    return result;
}

void TCommandSet::updateActions()
{
    const bool idle = !m_busy();
    while (idle && !m_deferred.isEmpty()) {
        QAction* action = m_deferred.takeFirst();
        for (const Command& c : m_commands)
            if (c.action == action) c.execute();
        if (m_busy()) break;
    }
    for (const Command& c : m_commands) c.action->setEnabled((idle || c.whileBusy) && (!c.enabled || c.enabled()));
    if (onUpdated) onUpdated();
}

QAction* TCommandSet::lookUp(const char* name)
{
    QAction* action = command(name);
    if (!action) m_missing << QString::fromLatin1(name);
    return action;
}

void TCommandSet::fillMenu(QMenu* menu, std::initializer_list<const char*> names)
{
    fillMenu(menu, std::vector<const char*>(names));
}

void TCommandSet::fillMenu(QMenu* menu, const std::vector<const char*>& names)
{
    for (const char* name : names) {
        if (std::strcmp(name, Separator) == 0) menu->addSeparator();
        else if (QAction* action = lookUp(name)) menu->addAction(action);
    }
}

void TCommandSet::assignMnemonics(QMenuBar* bar)
{
    QSet<QChar> used;
    QList<QMenu*> open;
    for (QAction* a : bar->actions()) {
        if (!a->menu()) continue;
        const QString title = a->menu()->title();
        const qsizetype amp = title.indexOf(u'&');
        if (amp >= 0 && amp + 1 < title.size()) used.insert(title.at(amp + 1).toLower());
        else open.append(a->menu());
    }
    for (QMenu* menu : open) {
        QString title = menu->title();
        for (qsizetype i = 0; i < title.size(); ++i) {
            const QChar c = title.at(i).toLower();
            if (!c.isLetter() || used.contains(c)) continue;
            used.insert(c);
            title.insert(i, u'&');
            menu->setTitle(title);
            break;
        }
    }
}

QMenu* TCommandSet::addMenu(QMenuBar* bar, const TMenuLayout& layout)
{
    QMenu* menu = addMenu(bar, layout.id, layout.caption);
    fillMenu(menu, layout.names);
    return menu;
}

QMenu* TCommandSet::addMenu(QMenuBar* bar, const char* id, const QString& caption)
{
    QMenu* menu = bar->addMenu(TrText(caption));
    menu->setObjectName(QString::fromLatin1(id));
    return menu;
}

QMenu* TCommandSet::addSubmenu(QMenu* parent, const char* id, const QString& caption)
{
    QMenu* menu = parent->addMenu(TrText(caption));
    menu->setObjectName(QString::fromLatin1(id));
    return menu;
}

void TCommandSet::fillContextMenu(QWidget* widget, std::initializer_list<const char*> names)
{
    widget->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const char* name : names) {
        if (std::strcmp(name, Separator) == 0) {
            auto* sep = new QAction(widget);
            sep->setSeparator(true);
            widget->addAction(sep);
        } else if (QAction* action = lookUp(name)) {
            widget->addAction(action);
        }
    }
}

void TCommandSet::popupOnRequest(QWidget* view, QWidget* viewport, QMenu* menu)
{
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, menu, [this, viewport, menu](const QPoint& pos) {
        updateActions();
        menu->popup(viewport->mapToGlobal(pos));
    });
}
