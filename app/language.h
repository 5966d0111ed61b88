#pragma once
#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <string>

class QMenuBar;
class QWidget;
class QTabWidget;

// The interface language. The program's texts are Russian; a language module is a compiled Qt
// translation ("Kvanta_8x20_ENU.lng") whose source texts are those Russian texts, so the few
// places that captions come from (the command set, the menu and tab captions, core's column
// captions, window titles and the labels of dialogs) look each text up as it is.

// Installs the module of `language` for the whole program (Russian needs none). Returns the
// message to show when the module is missing or cannot be read; the interface then stays
// Russian.
std::string InstallLanguage(int language, const std::filesystem::path& exePath);
// The translation of a Russian text in the installed language (the text itself without one).
QString TrText(const QString& russian);

// The locale of the interface language (day names in views); Russian without a module.
QLocale InterfaceLocale();

// Menu and tab captions made outside the command tables.
void TranslateMenus(QMenuBar* bar);
void TranslateTabs(QTabWidget* tabs);

// The texts of a window part made in Russian: title, labels, buttons, group boxes, tooltips,
// placeholders, choices, tabs, table captions and the actions of its widgets.
void TranslateWidgetTexts(QWidget* root);

// Translates the title, labels, buttons and group boxes of every window as it is first shown
// (dialogs and message boxes build their texts where they are made).
class TWindowTextTranslator : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Starts the instance that replaces this one (after a language change); tests replace it.
extern std::function<bool(const QString& program, const QStringList& args, const QString& dir)> StartProgramInstance;
