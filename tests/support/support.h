#pragma once
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/shell/shell.h"

namespace kv::test {

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// A Shell that records every message and status text and answers questions from a script
// (the preselected answer when the script is empty).
class ScriptedShell : public shell::Shell {
public:
    struct Message {
        shell::MessageKind kind;
        std::string text;
    };
    struct Question {
        std::string caption;
        std::string text;
        bool yesIsDefault;
    };

    std::vector<Message> messages;
    std::vector<Question> questions;
    std::vector<std::string> statusTexts;
    std::deque<bool> answers;
    bool cancelProgress = false;
    bool cancelWait = false;

    void SetStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
    bool WaitCancelled() override { return cancelWait; }

protected:
    void doShowMessage(shell::MessageKind kind, std::string_view text) override
    {
        messages.push_back({kind, std::string(text)});
    }
    bool doAsk(std::string_view caption, std::string_view text, bool yesIsDefault) override
    {
        questions.push_back({std::string(caption), std::string(text), yesIsDefault});
        if (answers.empty()) return yesIsDefault;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    bool progressCancelRequested() override { return cancelProgress; }
};

} // namespace kv::test
