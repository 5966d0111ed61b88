#include "core/shell/shell.h"

#include <cstdio>

#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/translate.h"

namespace kv::shell {

std::string_view MessageCaption(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error: return "Ошибка";
    case MessageKind::Information: return "Информация";
    case MessageKind::Attention: return "Внимание!";
    case MessageKind::Warning: return "Предупреждение";
    }
    return {};
}

void Shell::ShowFailure(std::string_view fixedText, std::string_view reason)
{
    std::string text(util::TrTemplate(fixedText));
    text += "\n\n";
    text += util::TrTemplate(reason);
    doShowMessage(MessageKind::Error, text);
}

bool Shell::Guarded(std::string_view fixedText, const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        ShowFailure(fixedText, e.what());
        return false;
    }
}

std::string Shell::DeleteQuestion(int count)
{
    if (count == 1) return "Удалить выделенную запись?";
    return util::Format("Удалить все выделенные записи (всего будет удалено %d записи(ей))?", {count});
}

bool Shell::AskDelete(int count)
{
    return doAsk("Предупреждение", DeleteQuestion(count), false);
}

void Shell::MarkBusy()
{
    if (++m_busy == 1) busyChanged(true);
}

void Shell::UnmarkBusy()
{
    if (m_busy == 0) return;
    if (--m_busy == 0) busyChanged(false);
}

void Shell::ProgressOpen(int maximum, bool cancellable, std::string_view text)
{
    if (m_progressOpen) throw Error("Окно индикатора уже создано!");
    m_progressOpen = true;
    m_progressPos = 0;
    m_progressMax = maximum < 0 ? 0 : maximum;
    m_progressText = text;
    progressShown(cancellable);
    progressChanged(m_progressText, m_progressPos, m_progressMax);
}

void Shell::ProgressSetText(std::string_view text)
{
    if (!m_progressOpen) return;
    m_progressText = text;
    progressChanged(m_progressText, m_progressPos, m_progressMax);
}

void Shell::ProgressStep(int by)
{
    ProgressSetPosition(m_progressPos + by);
}

void Shell::ProgressSetPosition(int pos)
{
    if (!m_progressOpen) return;
    if (pos > m_progressMax) pos = m_progressMax;
    if (pos < 0) pos = 0;
    if (pos == m_progressPos) return;
    m_progressPos = pos;
    progressChanged(m_progressText, m_progressPos, m_progressMax);
}

bool Shell::ProgressCancelled()
{
    if (!m_progressOpen) return false;
    ProcessEvents();
    return progressCancelRequested();
}

void Shell::ProgressClose()
{
    if (!m_progressOpen) return;
    m_progressOpen = false;
    progressHidden();
}

BusyScope::BusyScope(Shell& shell, std::string_view status) : m_shell(shell), m_status(!status.empty())
{
    m_shell.MarkBusy();
    if (m_status) m_shell.SetStatusText(status);
}

BusyScope::~BusyScope()
{
    if (m_status) m_shell.SetStatusText("");
    m_shell.UnmarkBusy();
}

void ConsoleShell::SetStatusText(std::string_view text)
{
    if (!text.empty()) std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void ConsoleShell::doShowMessage(MessageKind kind, std::string_view text)
{
    const std::string_view caption = MessageCaption(kind);
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
}

bool ConsoleShell::doAsk(std::string_view, std::string_view, bool yesIsDefault)
{
    return yesIsDefault;
}

} // namespace kv::shell
