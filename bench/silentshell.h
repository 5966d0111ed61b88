#pragma once
#include <string>
#include <string_view>

#include "core/shell/shell.h"

namespace kv::bench {

// A shell for benchmarks: status texts are dropped, questions take their preselected answer and
// messages are kept, so that a benchmark can give up when the measured work reported a failure
// instead of timing an error path.
class SilentShell : public shell::Shell {
public:
    void SetStatusText(std::string_view) override {}

    int MessageCount() const { return m_messages; }
    const std::string& LastMessage() const { return m_last; }

protected:
    void doShowMessage(shell::MessageKind, std::string_view text) override
    {
        ++m_messages;
        m_last.assign(text);
    }
    bool doAsk(std::string_view, std::string_view, bool yesIsDefault) override { return yesIsDefault; }

private:
    int m_messages = 0;
    std::string m_last;
};

} // namespace kv::bench
