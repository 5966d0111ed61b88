#pragma once
#include <vector>

#include "core/stats/stat.h"

namespace kv::stats::kinds {

// Each family file appends its kinds (static descriptors) to the list; Catalogue() sorts the
// whole list by catalogue position.
void AddNumberKinds(std::vector<const TStatKind*>& kinds);
void AddSumKinds(std::vector<const TStatKind*>& kinds);
void AddDifferenceKinds(std::vector<const TStatKind*>& kinds);
void AddChannelKinds(std::vector<const TStatKind*>& kinds);
void AddMatrixKinds(std::vector<const TStatKind*>& kinds);
void AddSegmentKinds(std::vector<const TStatKind*>& kinds);
void AddSequenceKinds(std::vector<const TStatKind*>& kinds);
void AddRepeatKinds(std::vector<const TStatKind*>& kinds);
void AddTupleKinds(std::vector<const TStatKind*>& kinds);
void AddKarvelKinds(std::vector<const TStatKind*>& kinds);
void AddSeriesKinds(std::vector<const TStatKind*>& kinds);
void AddPeriodKinds(std::vector<const TStatKind*>& kinds);
void AddTransitionKinds(std::vector<const TStatKind*>& kinds);
void AddShreddingKinds(std::vector<const TStatKind*>& kinds);

} // namespace kv::stats::kinds
