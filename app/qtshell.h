#pragma once
#include <functional>
#include <QPointer>
#include <QString>
#include <atomic>
#include <string>
#include <string_view>

#include "core/shell/shell.h"

class QLabel;
class QProgressDialog;
class QWidget;
class TFormWait;

// Qt's own texts (file dialogs, the edit fields' context menus, standard buttons) in Russian,
// the interface's language, from Qt's translations; false when they are not installed.
bool InstallQtRussian();
// Another interface language leaves Qt's texts in English rather than Russian.
void RemoveQtRussian();

inline QString qs(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string us(const QString& text)
{
    return text.toStdString();
}

// The Shell of the windowed program: real message boxes, the hourglass while busy, the last
// status field for status texts and a progress dialog with "Отмена".
class QtShell : public kv::shell::Shell {
public:
    explicit QtShell(QWidget* window);
    ~QtShell() override;

    void SetStatusLabel(QLabel* label) { m_status = label; }
    // Where a status text goes when it is not shown at once (the window's refresh during a run).
    std::function<void(const QLabel* label, std::function<void()> show)> routeStatus;
    void SetStatusText(std::string_view text) override;
    void ProcessEvents() override;
    void WaitShow(std::string_view text) override;
    void WaitClose() override;
    bool WaitCancelled() override;
    // The window while it is up (between WaitShow and WaitClose), else nullptr.
    TFormWait* waitWindow() const { return m_wait; }
    // Set by the wait window's Cancel, cleared when a wait window opens; transfers running off
    // the window's thread poll it.
    const std::atomic<bool>& waitCancelFlag() const { return m_waitCancel; }

protected:
    void doShowMessage(kv::shell::MessageKind kind, std::string_view text) override;
    bool doAsk(std::string_view caption, std::string_view text, bool yesIsDefault) override;
    void busyChanged(bool busy) override;
    void progressShown(bool cancellable) override;
    void progressChanged(std::string_view text, int pos, int max) override;
    bool progressCancelRequested() override;
    void progressHidden() override;

private:
    QWidget* m_window;
    QLabel* m_status = nullptr;
    QProgressDialog* m_progress = nullptr;
    TFormWait* m_wait = nullptr;
    std::atomic<bool> m_waitCancel{false};
};
