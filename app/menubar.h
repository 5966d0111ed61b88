#pragma once
#include <functional>

class QMenu;
class QMenuBar;
class TCommandSet;

// The menus that a view or a unit fills itself; each gets its menu when the bar reaches it.
struct MenuBarParts {
    std::function<void(QMenu*)> ratings;    // "Рейтинг"
    std::function<void(QMenu*)> regulars;   // "Регуляры"
    std::function<void(QMenu*)> settings;   // the end of "Настройки" (the language submenu)
};

// The main window's menu bar, menu by menu in its order, from the tables of command names, its
// captions in the interface language and every menu with its Alt+letter.
void CreateMenuBar(QMenuBar* bar, TCommandSet& commands, const MenuBarParts& parts);
