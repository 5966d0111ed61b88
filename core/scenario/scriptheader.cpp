#include "core/scenario/scriptheader.h"

#include "core/filters/filteritem.h"
#include "core/game/texts.h"
#include "core/util/format.h"
#include "core/util/translate.h"

namespace kv::scenario {

namespace {

struct EnumText {
    const char* Code;
    const char* Editor;
    const char* Short;
};

const EnumText StartLists[StartListCount] = {
    {"FULL", "Исходный список (рекомендуется для тестов)", "Исходный список"},
    {"EXCL", "Удалить N последних тиражей (для прогнозов)", "Исключить %d тиражей"},
    {"CURR", "Текущий список (для последовательного выполнения)", "Текущий список"},
};

const EnumText StakeModes[StakeModeCount] = {
    {"RAND", "Выбрать одну случайную комбинацию", "Случайно"},
    {"FIRST", "Выбрать первую комбинацию в списке", "Первая"},
    {"LAST", "Выбрать последнюю комбинацию в списке", "Последняя"},
    {"ALL", "Выбрать все комбинации (не рекомендуется)", "Все"},
    {"SYSA", "Системная игра [вся система]", "Система [все]"},
    {"SYSC", "Системная игра [система * комбинации]", "Система [комб]"},
    {"STOP", "Остановить выполнение сценария", "Остановить"},
    {"SKIP", "Пропустить (игнорировать) эту ставку", "Пропустить"},
    {"NONE", "Не делать ставок (для последовательного выполнения)", "Не делать ставок"},
};

template <int N>
const EnumText* entry(const EnumText (&table)[N], int value)
{
    return value >= 0 && value < N ? &table[value] : nullptr;
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool sameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

bool prefixNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && sameNoCase(text.substr(0, prefix.size()), prefix);
}

// Optional sign and decimal digits that fit 32 bits; anything else is not a number.
bool decimal(std::string_view text, int32_t& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > 2147483647LL) return false;
    value = static_cast<int32_t>(v);
    return true;
}

} // namespace

std::string_view StartListCode(int value)
{
    const EnumText* e = entry(StartLists, value);
    return e ? e->Code : "";
}
std::string_view StartListEditorCaption(int value)
{
    const EnumText* e = entry(StartLists, value);
    return e ? e->Editor : EnumErrorCaption;
}
std::string_view StartListShortCaption(int value)
{
    const EnumText* e = entry(StartLists, value);
    return e ? e->Short : EnumErrorCaption;
}
std::string_view StakeModeCode(int value)
{
    const EnumText* e = entry(StakeModes, value);
    return e ? e->Code : "";
}
std::string_view StakeModeEditorCaption(int value)
{
    const EnumText* e = entry(StakeModes, value);
    return e ? e->Editor : EnumErrorCaption;
}
std::string_view StakeModeShortCaption(int value)
{
    const EnumText* e = entry(StakeModes, value);
    return e ? e->Short : EnumErrorCaption;
}

TScriptHeader ParseScriptHeader(std::string_view text)
{
    TScriptHeader h;
    const std::vector<std::string_view> words = SplitWords(text, '#');
    if (!words.empty()) {
        const std::string_view first = game::TrimText(words[0]);
        for (int i = 0; i < StartListCount; ++i) {
            if (prefixNoCase(first, StartLists[i].Code)) {
                h.StartList = static_cast<uint8_t>(i);
                break;
            }
        }
        const std::size_t colon = first.find(':');
        int32_t n = 0;
        if (colon != std::string_view::npos && decimal(game::TrimText(first.substr(colon + 1)), n)) h.ExcludeCount = n;
    }
    if (words.size() > 1) {
        const std::string_view second = game::TrimText(words[1]);
        for (int i = 0; i < StakeModeCount; ++i) {
            if (sameNoCase(second, StakeModes[i].Code)) {
                h.StakeMode = static_cast<uint8_t>(i);
                break;
            }
        }
    }
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string_view w = game::TrimText(words[i]);
        if (sameNoCase(w, "CLR")) h.ClearStakes = true;
        else if (sameNoCase(w, "NEX")) h.NewOnly = true;
    }
    return h;
}

std::string ScriptHeaderToText(const TScriptHeader& h)
{
    std::string s(StartListCode(h.StartList));
    s += ':';
    s += std::to_string(h.ExcludeCount);
    s += '#';
    s += StakeModeCode(h.StakeMode);
    if (h.ClearStakes) s += "#CLR";
    if (h.NewOnly) s += "#NEX";
    return s;
}

std::string ScriptHeaderToRunText(const TScriptHeader& h)
{
    std::string s(StartListCode(h.StartList));
    if (h.StartList == StartExclude) {
        s += ':';
        s += std::to_string(h.ExcludeCount);
    }
    s += '#';
    s += StakeModeCode(h.StakeMode);
    if (h.NewOnly) s += "#NEX";
    return s;
}

std::string ScriptHeaderCaption(const TScriptHeader& h)
{
    std::string s = util::Format(StartListShortCaption(h.StartList), {h.ExcludeCount});
    s += "; ";
    s += util::TrTemplate(StakeModeShortCaption(h.StakeMode));
    s += "; ";
    if (h.ClearStakes) {
        s += util::TrText("Удалить ставки");
        s += "; ";
    }
    s += util::TrText(h.NewOnly ? "Только новые ставки" : "Все создаваемые ставки");
    return s;
}

std::vector<std::string_view> SplitWords(std::string_view text, char sep)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == sep) ++i;
        if (i == text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && text[i] != sep) ++i;
        words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::string StepField(std::string_view line, int n)
{
    const std::vector<std::string_view> words = SplitWords(line, '|');
    if (n < 1 || n > static_cast<int>(words.size())) return {};
    return std::string(game::TrimText(words[static_cast<std::size_t>(n - 1)]));
}

bool IsSeparatorLine(std::string_view line)
{
    return game::TrimText(line).empty();
}

std::string BuildStepLine(std::string_view header, const std::array<std::string, StepFilterSlots>& filters,
                          std::string_view comment)
{
    std::string s(header);
    s += '|';
    for (const std::string& f : filters) {
        s += game::TrimText(f).empty() ? std::string(" ") : f;
        s += '|';
    }
    if (!game::TrimText(comment).empty()) s += comment;
    return s;
}

TStepFields ReadStepLine(std::string_view line, int32_t excludeCount)
{
    TStepFields f;
    f.Header.ExcludeCount = excludeCount;
    if (IsSeparatorLine(line)) return f;
    f.Header = ParseScriptHeader(StepField(line, 1));
    for (int i = 0; i < StepFilterSlots; ++i) f.Filters[std::size_t(i)] = StepField(line, i + 2);
    f.Comment = StepField(line, 9);
    return f;
}

std::string WriteStepLine(const TStepFields& fields)
{
    return BuildStepLine(ScriptHeaderToText(fields.Header), fields.Filters, fields.Comment);
}

std::string ScenarioColumnCaption(int column)
{
    if (column == 0) return util::TrText("Комментарии");
    if (column == 1) return util::TrText("Опции");
    if (column >= 2 && column < ScenarioColumnCount) return util::Format("Фильтр %d", {column - 1});
    return {};
}

std::array<std::string, ScenarioColumnCount> ScenarioRowTexts(std::string_view line, const stats::TStatList& list)
{
    std::array<std::string, ScenarioColumnCount> row;
    if (IsSeparatorLine(line)) return row;
    row[0] = StepField(line, 9);
    row[1] = ScriptHeaderCaption(ParseScriptHeader(StepField(line, 1)));
    for (int i = 1; i <= StepFilterSlots; ++i) {
        const std::string field = StepField(line, i + 1);
        if (!field.empty()) row[static_cast<std::size_t>(i + 1)] = filters::FilterItemToText(filters::TextToFilterItem(field, list), list);
    }
    return row;
}

std::string ScenarioLinesText(int count)
{
    return util::Format("Строк: %d", {count});
}

} // namespace kv::scenario
