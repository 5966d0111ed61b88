#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/stats/config.h"
#include "core/stats/statgroup.h"

namespace kv::shell {
class Shell;
}

namespace kv::stats {

class TStatList;

// Prefetch groups whose files hold distributions computed with these settings.
constexpr TGroupMask ChannelGroupBit = GroupBit(GroupChannels);
constexpr TGroupMask MatrixGroupBit = GroupBit(GroupMatrix);
constexpr TGroupMask SegmentGroupBit = GroupBit(GroupSegments);

// The prefetch groups that must be rebuilt when the settings go from `before` to `after`: the
// matrix group for another column count, the channel group for another channel width, the
// segment group for another segment layout. Money and weights touch no prefetch file.
TGroupMask ConfigRebuildGroups(const TConfigData& before, const TConfigData& after);

struct TConfigApplyResult {
    TGroupMask Groups = 0;   // prefetch groups to rebuild
    bool Saved = false;    // false when the settings file could not be written
};

// Replaces the registry's settings by `data` and writes the settings file (status "Сохранение
// файла конфигурации...", a failure shown as "Ошибка записи в файл конфигурации!" with the
// reason). The registry keeps the new settings even when writing failed, so the groups are
// returned either way.
TConfigApplyResult ApplyConfig(TStatList& list, const TConfigData& data, const std::filesystem::path& ini,
                               shell::Shell& shell);

// --- the rules of the configuration dialog -----------------------------------------------------

constexpr int ProfitRowCount = 9;

// The amounts of the prize table's rows 0..8: the i-th stored entry whatever its overlap (the
// table shows the stored order), zero for missing entries.
std::array<util::Currency, ProfitRowCount> ProfitRows(const std::vector<TProfitItem>& profits);
// The prize table written back: one entry per row, overlap = the row number.
std::vector<TProfitItem> ProfitsFromRows(const std::array<util::Currency, ProfitRowCount>& amounts);

// A segment cell's text as a segment 1..9; nothing for any other text (the empty one included).
std::optional<uint8_t> ParseSegmentCell(std::string_view text);
// The message for a segment cell left with an invalid value.
std::string BadSegmentMessage(std::string_view text);

} // namespace kv::stats
