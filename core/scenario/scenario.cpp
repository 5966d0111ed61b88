#include "core/scenario/scenario.h"

#include <algorithm>

#include "core/filters/filteritem.h"
#include "core/game/texts.h"
#include "core/scenario/scriptheader.h"
#include "core/shell/shell.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::scenario {

std::vector<std::string> ScenarioFromBytes(std::string_view cp1251)
{
    const std::string text = util::TextFileToUtf8(cp1251);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text, start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text, start);
    return lines;
}

std::string ScenarioToBytes(std::span<const std::string> lines)
{
    std::string text;
    for (const std::string& l : lines) {
        text += l;
        text += "\r\n";
    }
    return util::Utf8ToCp1251(text);
}

std::vector<std::string> ReadScenarioFile(const std::filesystem::path& path)
{
    return ScenarioFromBytes(util::ReadWholeFile(path));
}

// --- the list ------------------------------------------------------------------------------------

void TScenario::checkIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw Error(util::Format("Запись со индексом %d в файле данных не найдена!", {index}));
}

int TScenario::AddLine(std::string text, shell::Shell& shell)
{
    m_lines.push_back(std::move(text));
    changed();
    SaveCurrent(shell);
    return Count() - 1;
}

void TScenario::PutLine(int index, std::string text, shell::Shell& shell)
{
    checkIndex(index);
    m_lines[static_cast<std::size_t>(index)] = std::move(text);
    changed();
    SaveCurrent(shell);
}

const std::string& TScenario::GetLine(int index) const
{
    checkIndex(index);
    return m_lines[static_cast<std::size_t>(index)];
}

void TScenario::DeleteLines(std::vector<int> rows, shell::Shell& shell)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    {
        shell::BusyScope busy(shell, "Удаление строк...");
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            if (*it >= 0 && *it < Count()) m_lines.erase(m_lines.begin() + *it);
        changed();
    }
    SaveCurrent(shell);
}

void TScenario::Clear(shell::Shell& shell)
{
    {
        shell::BusyScope busy(shell, "Удаление строк...");
        m_lines.clear();
        changed();
    }
    SaveCurrent(shell);
}

int TScenario::MoveLine(int index, bool up, shell::Shell& shell)
{
    const int other = up ? index - 1 : index + 1;
    if (index < 0 || index >= Count() || other < 0 || other >= Count()) return index;
    std::swap(m_lines[static_cast<std::size_t>(index)], m_lines[static_cast<std::size_t>(other)]);
    changed();
    SaveCurrent(shell);
    return other;
}

bool TScenario::LoadScenario(const std::filesystem::path& path, bool append, shell::Shell& shell)
{
    bool ok = true;
    {
        shell::BusyScope busy(shell, util::Format("Загрузка файла \"%s\"...", {path.string()}));
        try {
            std::vector<std::string> read = ReadScenarioFile(path);
            if (append && !m_lines.empty()) {
                if (!read.empty()) {
                    if (!m_lines.back().empty()) m_lines.emplace_back();
                    for (std::string& l : read) m_lines.push_back(std::move(l));
                }
            } else {
                m_lines = std::move(read);
            }
        } catch (const std::exception& e) {
            shell.ShowFailure(util::Format("Ошибка чтения файла \"%s\"!", {path.string()}), e.what());
            ok = false;
        }
        changed();
    }
    return ok;
}

bool TScenario::SaveScenario(const std::filesystem::path& path, shell::Shell& shell)
{
    bool ok = true;
    {
        shell::BusyScope busy(shell, util::Format("Сохранение файла \"%s\"...", {path.string()}));
        try {
            util::RewriteFile(path, ScenarioToBytes(m_lines));
        } catch (const std::exception& e) {
            shell.ShowFailure(util::Format("Ошибка записи в файл \"%s\"!", {path.string()}), e.what());
            ok = false;
        }
    }
    const bool unsaved = m_unsaved;
    changed();
    m_unsaved = ok ? false : unsaved;
    return ok;
}

bool TScenario::OpenFile(const std::filesystem::path& path, bool append, shell::Shell& shell)
{
    const bool unsaved = m_unsaved;
    const bool ok = LoadScenario(path, append, shell);
    m_unsaved = ok ? append : unsaved;
    SaveCurrent(shell);
    return ok;
}

void TScenario::LoadCurrent(shell::Shell& shell)
{
    std::error_code ec;
    if (m_file.empty()) return;
    if (!std::filesystem::exists(m_file, ec)) {
        m_read.MarkRead();
        return;
    }
    // An unreadable mirror stays as it is: the edits to come would replace it.
    if (LoadScenario(m_file, false, shell)) m_read.MarkRead();
    m_unsaved = false;
}

bool TScenario::MayReplace(shell::Shell& shell) const
{
    return Empty() || !m_unsaved || shell.ConfirmCautious(UnsavedQuestion);
}

bool TScenario::SaveCurrent(shell::Shell& shell)
{
    if (m_file.empty()) return true;
    try {
        m_read.CheckWrite(m_file);
        util::RewriteFile(m_file, ScenarioToBytes(m_lines));
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure(util::Format("Ошибка записи в файл \"%s\"!", {m_file.string()}), e.what());
        return false;
    }
}

void TScenario::changed()
{
    m_unsaved = true;
    if (onChanged) onChanged();
}

// --- lines from ratings --------------------------------------------------------------------------

std::string RatingNameToLine(std::string_view name, const stats::TStatList& list)
{
    std::string comment;
    std::string t(name);
    const std::size_t at = t.find('@');
    if (at != std::string::npos) {
        comment = std::string(game::TrimText(std::string_view(t).substr(0, at)));
        t = std::string(game::TrimText(std::string_view(t).substr(at + 1)));
    }
    std::string joined;
    for (std::size_t pos = 0;;) {
        const std::size_t plus = t.find(" + ", pos);
        joined.append(t, pos, plus == std::string::npos ? std::string::npos : plus - pos);
        if (plus == std::string::npos) break;
        joined += '|';
        pos = plus + 3;
    }
    t = std::move(joined);
    while (SplitWords(t, '|').size() <= StepFilterSlots) t += "| ";
    t += '|';
    t += comment;

    for (int n = 2; n <= 1 + StepFilterSlots; ++n)
        if (filters::TextToFilterItem(StepField(t, n), list).Defined) return t;
    return {};
}

int RatingsToScript(std::span<const std::string> names, TScenario& scenario, const stats::TStatList& list,
                    shell::Shell& shell)
{
    int added = 0;
    shell::BusyScope busy(shell, "Генерация новых строк в сценарии...");
    for (const std::string& name : names) {
        std::string line = RatingNameToLine(name, list);
        if (line.empty()) {
            shell.ShowError(util::Format("Строку\n\n%s\n\nневозможно добавить в сценарий!", {name}));
            continue;
        }
        scenario.AddLine(std::move(line), shell);
        ++added;
    }
    return added;
}

} // namespace kv::scenario
