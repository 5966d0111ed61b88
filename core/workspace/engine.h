#pragma once
#include "core/shell/shell.h"

namespace kv::workspace {
class Workspace;
}
namespace kv::stats {
class TStatList;
}

namespace kv::workspace {

// Passes everything on to the batch run's shell and remembers whether an error was shown, so
// that a failure reported deep inside an operation still ends the run with a non-zero code.
class TErrorWatch final : public shell::Shell {
public:
    explicit TErrorWatch(shell::Shell& inner) : m_inner(inner) {}
    bool ErrorShown() const { return m_errors > 0; }

    void SetStatusText(std::string_view text) override { m_inner.SetStatusText(text); }
    void ProcessEvents() override { m_inner.ProcessEvents(); }
    void WaitShow(std::string_view text) override { m_inner.WaitShow(text); }
    void WaitClose() override { m_inner.WaitClose(); }
    bool WaitCancelled() override { return m_inner.WaitCancelled(); }

protected:
    void doShowMessage(shell::MessageKind kind, std::string_view text) override
    {
        if (kind == shell::MessageKind::Error) ++m_errors;
        m_inner.ShowMessage(kind, text);
    }
    bool doAsk(std::string_view caption, std::string_view text, bool yesIsDefault) override
    {
        return m_inner.Ask(caption, text, yesIsDefault);
    }

private:
    shell::Shell& m_inner;
    int m_errors = 0;
};

// Loads the engine settings, builds the method list and reads the filter list, as start-up
// does; failures are shown and the defaults stay.
void LoadEngine(stats::TStatList& list, Workspace& ws, shell::Shell& shell);

} // namespace kv::workspace
