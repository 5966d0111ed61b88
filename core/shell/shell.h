#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace kv::shell {

enum class MessageKind {
    Error,        // "Ошибка"
    Information,  // "Информация"
    Attention,    // "Внимание!"
    Warning,      // "Предупреждение"
};

// Caption of a message box of the given kind.
std::string_view MessageCaption(MessageKind kind);

// What the core needs from a user interface. The Qt program implements it with real widgets,
// tests with a scripted fake, batch runs without any window. The rules every implementation
// shares (the busy counter, the single progress window, the gauge bounds, the texts of the
// standard questions) live here; implementations supply only the presentation.
class Shell {
public:
    virtual ~Shell() = default;

    // Writes into the last status field (the progress and hint field) and lets the window repaint.
    virtual void SetStatusText(std::string_view text) = 0;

    void ShowMessage(MessageKind kind, std::string_view text) { doShowMessage(kind, text); }
    void ShowError(std::string_view text) { doShowMessage(MessageKind::Error, text); }
    void ShowInfo(std::string_view text) { doShowMessage(MessageKind::Information, text); }
    // The standard failure report: the command's fixed text (ending in "!") and the failure's
    // own text after a blank line.
    void ShowFailure(std::string_view fixedText, std::string_view reason);
    // Runs a command's body; its failure is reported as above. True when the body finished.
    bool Guarded(std::string_view fixedText, const std::function<void()>& body);

    // A Yes/No question; true only for Yes.
    bool Ask(std::string_view caption, std::string_view text, bool yesIsDefault = true)
    {
        return doAsk(caption, text, yesIsDefault);
    }
    bool Confirm(std::string_view text) { return doAsk("Подтверждение", text, true); }
    bool ConfirmCautious(std::string_view text) { return doAsk("Подтверждение", text, false); }
    // The question before deleting `count` list entries (No preselected).
    bool AskDelete(int count);
    static std::string DeleteQuestion(int count);

    // Busy counter: while above zero every command is disabled.
    void MarkBusy();
    void UnmarkBusy();
    bool IsBusy() const { return m_busy > 0; }
    int BusyCount() const { return m_busy; }

    // Keeps the window responsive inside long loops.
    virtual void ProcessEvents() {}

    // Progress window: one at a time; opening a second fails with "Окно индикатора уже создано!".
    void ProgressOpen(int maximum, bool cancellable, std::string_view text = "Подождите пожалуйста...");
    void ProgressSetText(std::string_view text);
    void ProgressStep(int by = 1);      // never past the maximum
    void ProgressSetPosition(int pos);  // clamped to 0..maximum
    bool ProgressCancelled();           // polls the "Отмена" button
    void ProgressClose();
    bool ProgressIsOpen() const { return m_progressOpen; }
    int ProgressPosition() const { return m_progressPos; }
    int ProgressMaximum() const { return m_progressMax; }

    // Wait window: one line of text over the main window.
    virtual void WaitShow(std::string_view text) { SetStatusText(text); }
    virtual void WaitClose() { SetStatusText(""); }
    // True once the wait window's Cancel was pressed (until the window closes).
    virtual bool WaitCancelled() { return false; }

protected:
    virtual void doShowMessage(MessageKind kind, std::string_view text) = 0;
    virtual bool doAsk(std::string_view caption, std::string_view text, bool yesIsDefault) = 0;
    virtual void busyChanged(bool /*busy*/) {}
    virtual void progressShown(bool /*cancellable*/) {}
    virtual void progressChanged(std::string_view /*text*/, int /*pos*/, int /*max*/) {}
    virtual bool progressCancelRequested() { return false; }
    virtual void progressHidden() {}

private:
    int m_busy = 0;
    bool m_progressOpen = false;
    int m_progressPos = 0;
    int m_progressMax = 0;
    std::string m_progressText;
};

// Marks the shell busy for a scope, with an optional status text that is cleared at the end.
class BusyScope {
public:
    explicit BusyScope(Shell& shell, std::string_view status = {});
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Shell& m_shell;
    bool m_status;
};

// A shell for batch runs and tools: messages go to standard error, questions take their
// preselected answer, nothing waits for a person.
class ConsoleShell : public Shell {
public:
    void SetStatusText(std::string_view text) override;

protected:
    void doShowMessage(MessageKind kind, std::string_view text) override;
    bool doAsk(std::string_view caption, std::string_view text, bool yesIsDefault) override;
};

} // namespace kv::shell
