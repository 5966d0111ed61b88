#pragma once
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/files.h"

namespace kv::shell {
class Shell;
}
namespace kv::stats {
class TStatList;
}

namespace kv::scenario {

// Scenario files: CP1251 text, one line per scenario line, CR LF on writing; CR, LF or CR LF on
// reading. A text that ends with a line break has no empty line after it.
std::vector<std::string> ScenarioFromBytes(std::string_view cp1251);
std::string ScenarioToBytes(std::span<const std::string> lines);
// Reads a file (kv::Error with the system's reason on failure).
std::vector<std::string> ReadScenarioFile(const std::filesystem::path& path);

constexpr const char* ScenarioFileFilter = "Файлы сценариев (*.lsc)|*.lsc";
constexpr const char* ScenarioFileExtension = "lsc";

// The scenario being edited: its lines (empty ones are separators) and the file that mirrors
// it. Every change rewrites that file, so it always holds what the view shows.
class TScenario {
public:
    static constexpr const char* FileName = "Kvanta_8x20.lss";

    // `currentFile` is Kvanta_8x20.lss in the data directory; empty: nothing is mirrored.
    explicit TScenario(std::filesystem::path currentFile = {}) : m_file(std::move(currentFile)) {}

    int Count() const { return static_cast<int>(m_lines.size()); }
    bool Empty() const { return m_lines.empty(); }
    const std::vector<std::string>& Lines() const { return m_lines; }
    const std::filesystem::path& CurrentFile() const { return m_file; }

    // Appends and returns the new index; the mirror file is rewritten.
    int AddLine(std::string text, shell::Shell& shell);
    // Fail with kv::Error "Запись со индексом %d в файле данных не найдена!" outside the list.
    void PutLine(int index, std::string text, shell::Shell& shell);
    const std::string& GetLine(int index) const;

    // ScriptDel: the given rows (any order; rows outside are ignored), from the last up.
    void DeleteLines(std::vector<int> rows, shell::Shell& shell);
    // ScriptClr.
    void Clear(shell::Shell& shell);
    // ScriptUp / ScriptDown: swaps the line with its neighbour; the line's new index, or the old
    // one when it cannot move.
    int MoveLine(int index, bool up, shell::Shell& shell);

    // Replaces the scenario with a file's lines, or appends them (an empty separator line first
    // when the last line is a step). Failures show "Ошибка чтения файла "%s"!" with the reason
    // and keep the scenario as it was. The mirror file is not written (see OpenFile).
    bool LoadScenario(const std::filesystem::path& path, bool append, shell::Shell& shell);
    // Writes every line; failures show "Ошибка записи в файл "%s"!" with the reason.
    bool SaveScenario(const std::filesystem::path& path, shell::Shell& shell);
    // ScriptOpen / ScriptLoad after the file dialog: load, then rewrite the mirror file.
    bool OpenFile(const std::filesystem::path& path, bool append, shell::Shell& shell);
    // Start-up: reads the mirror file when it exists (no message when it does not).
    void LoadCurrent(shell::Shell& shell);
    // Rewrites the mirror file; refused until LoadCurrent read it (or found it missing).
    bool SaveCurrent(shell::Shell& shell);

    // Changed since it was last opened from or saved to a scenario file (the mirror file does not
    // count: it is rewritten on every change).
    bool Unsaved() const { return m_unsaved; }
    // Before the scenario is replaced (ScriptOpen, a download from the catalogue): a scenario with
    // unsaved lines asks UnsavedQuestion (No preselected); true when it may be replaced.
    static constexpr const char* UnsavedQuestion =
        "Текущий сценарий изменён и не сохранён в файл.\n\nЗаменить его без сохранения?";
    bool MayReplace(shell::Shell& shell) const;

    // The view must show the new lines (RefreshScenarioView: row count and "Строк: %d").
    std::function<void()> onChanged;

private:
    void changed();
    void checkIndex(int index) const;

    std::filesystem::path m_file;
    util::TReadBeforeWrite m_read;
    std::vector<std::string> m_lines;
    bool m_unsaved = false;
};

// The scenario line made of a rating name, or empty when none of its filter fields reads as a
// filter. A scenario stake's name "03.012: my idea @ EXCL:5#RAND + TSD1#NUMS:10#LMV:3#SF:1"
// gives "EXCL:5#RAND|TSD1#NUMS:10#LMV:3#SF:1| | | | | | |03.012: my idea".
std::string RatingNameToLine(std::string_view name, const stats::TStatList& list);

// RatingsToScript: a line per usable name, in order; each unusable one shows "Строку\r\r%s\r\r
// невозможно добавить в сценарий!". Returns the number of lines added (the program then brings
// the scenario tab to the front when it is not 0).
int RatingsToScript(std::span<const std::string> names, TScenario& scenario, const stats::TStatList& list,
                    shell::Shell& shell);

} // namespace kv::scenario
