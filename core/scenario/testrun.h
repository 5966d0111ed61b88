#pragma once
#include <cstdint>
#include <filesystem>

#include "core/stakes/ratings.h"

namespace kv::scenario {

// What a scenario test leaves beside the rating so that its two halves can be shown again: how
// many draws it ran over, how many of the latest of them it kept apart as hold-out ("Контрольные
// тиражи") and the rating rows of its stakes on either side of that line. The halves use the
// rating file's own layout; the numbers go to a small settings file.
struct TTestRun {
    int Count = 0;               // test draws (offsets Count .. 1)
    int Holdout = 0;             // the last Holdout of them are not tuned on; 0: none
    int32_t FirstDrawNo = 0;     // the draw the first pass staked on
    int32_t HoldoutFrom = 0;     // the first hold-out draw; 0 without a hold-out
    int32_t LastDrawNo = 0;      // the draw the last pass staked on
    stakes::TRatingsArray Tuning;    // rating rows of the stakes on draws before HoldoutFrom
    stakes::TRatingsArray Held;      // and from it on

    bool Empty() const { return Count == 0; }
    // Whether the test's stake on this draw belongs to the hold-out.
    bool IsHoldout(int32_t drawNo) const { return HoldoutFrom > 0 && drawNo >= HoldoutFrom; }
};

// ScriptTest.ini with ScriptTest-tuning.lrt and ScriptTest-holdout.lrt, in the data directory.
constexpr const char* TestRunFileName = "ScriptTest.ini";
constexpr const char* TestRunTuningFileName = "ScriptTest-tuning.lrt";
constexpr const char* TestRunHoldoutFileName = "ScriptTest-holdout.lrt";

// Writes the three files; throws on failure.
void SaveTestRun(const std::filesystem::path& dir, const TTestRun& run);
// Reads them back; missing or unreadable files give an empty run (Count 0), damaged rating
// records are read up to the first bad one.
TTestRun LoadTestRun(const std::filesystem::path& dir);

} // namespace kv::scenario
