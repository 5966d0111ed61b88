#include "core/stats/configops.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "core/game/texts.h"
#include "core/shell/shell.h"
#include "core/stats/statlist.h"

namespace kv::stats {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

} // namespace

TGroupMask ConfigRebuildGroups(const TConfigData& before, const TConfigData& after)
{
    TGroupMask groups = 0;
    if (before.MatrixCols != after.MatrixCols) groups |= MatrixGroupBit;
    if (before.ChannelSize != after.ChannelSize) groups |= ChannelGroupBit;
    // The layouts are compared in their stored text form, so a layout that writes the same
    // text counts as unchanged.
    if (!equalIgnoringCase(game::SegmentsToText(before.MatrixSegments), game::SegmentsToText(after.MatrixSegments)))
        groups |= SegmentGroupBit;
    return groups;
}

TConfigApplyResult ApplyConfig(TStatList& list, const TConfigData& data, const std::filesystem::path& ini,
                               shell::Shell& shell)
{
    TConfigApplyResult result;
    result.Groups = ConfigRebuildGroups(list.Config(), data);
    list.Config() = data;
    shell::BusyScope busy(shell, "Сохранение файла конфигурации...");
    try {
        list.SaveSettings(ini);
        result.Saved = true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка записи в файл конфигурации!", e.what());
    }
    return result;
}

std::array<util::Currency, ProfitRowCount> ProfitRows(const std::vector<TProfitItem>& profits)
{
    std::array<util::Currency, ProfitRowCount> rows{};
    for (int i = 0; i < ProfitRowCount && i < static_cast<int>(profits.size()); ++i) rows[i] = profits[i].Profit;
    return rows;
}

std::vector<TProfitItem> ProfitsFromRows(const std::array<util::Currency, ProfitRowCount>& amounts)
{
    std::vector<TProfitItem> profits;
    profits.reserve(ProfitRowCount);
    for (int i = 0; i < ProfitRowCount; ++i) profits.push_back({static_cast<uint8_t>(i), amounts[i]});
    return profits;
}

std::optional<uint8_t> ParseSegmentCell(std::string_view text)
{
    // Leading zeros are an integer like any other ("05" is 5); anything but digits is not.
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const size_t first = std::min(text.find_first_not_of('0'), text.size());
    const std::string_view digits = text.substr(first);
    if (digits.size() != 1 || digits[0] == '0') return std::nullopt;
    return static_cast<uint8_t>(digits[0] - '0');
}

std::string BadSegmentMessage(std::string_view text)
{
    std::string message = "Некорректное значение: ";
    message += text;
    message += "!\n\nУкажите любое число от 1 до 9";
    return message;
}

} // namespace kv::stats
