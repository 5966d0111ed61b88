#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/stats/config.h"

namespace kv::shell {
class Shell;
}

namespace kv::stats {
class TStatList;
struct TStatValues;
} // namespace kv::stats

namespace kv::filters {

// --- selection conditions and stop modes --------------------------------------------------------

constexpr int FilterConditionCount = 32;
constexpr int StopModeCount = 6;

// "LNO", "LMV", ... "LVA" for 0..31; empty outside.
std::string_view ConditionCode(int condition);
// The captions of the filter dialog ("Весь список (без условий)", ...); empty outside 0..31.
std::string_view ConditionCaption(int condition);
// "SF", "SC", "SZ", "ST", "SV", "SP" for 0..5; empty outside.
std::string_view StopModeCode(int mode);
// The captions after "Остановка по:"; empty outside 0..5.
std::string_view StopModeCaption(int mode);

enum TStopMode : uint8_t {
    StopAll = 0,        // SF: visit every row
    StopCombCount = 1,  // SC: the list holds at most StopValue combinations (one at a time only)
    StopEmptied = 2,    // SZ: the first application that empties the list, after its roll-back
    StopSteps = 3,      // ST: StopValue steps
    StopByCount = 4,    // SV: the row's "Количество" passes StopValue
    StopByPercent = 5,  // SP: the row's "Кол-во в %" passes StopValue
};

// Conditions that make one variant per listed value (the at-least and at-most tests and the
// weight and period conditions, lists included); the others take the whole list at once.
bool ConditionExpandsValues(int condition);
// The weight coefficients of the dialog matter only for the three "Вес" conditions.
bool ConditionUsesWeights(int condition);

// --- descriptions ----------------------------------------------------------------------------------

// One filter as the user describes it (a scenario step holds up to seven). A value-initialised
// item is the all-zero item: no filter.
struct TFilterItem {
    bool Defined = false;
    // The statistic section as read (code, ":", draws text), so that a statistic this program
    // does not know survives a read and a write.
    std::string StatText;
    int Method = -1;              // registry index of the statistic; -1: none
    std::string DrawsText;        // draws lengths: one value, a list or a range
    int32_t SortColumn = 0;       // statistics-table column the rows are ordered by
    bool BottomUp = false;
    bool MultiSelect = false;
    bool KeepSelected = false;
    uint8_t Condition = 0;
    std::string ConditionText;
    bool OverrideWeights = false;
    stats::TWeightCoefs Weights{0, 0, 0, false, false};
    uint8_t StopMode = 0;
    int32_t StopValue = 0;

    bool operator==(const TFilterItem&) const = default;
};

// One concrete variant of an item, every list resolved to one value.
struct TFilterPart {
    bool Defined = false;
    int Method = -1;
    // The code of the statistic as the description named it: what the refusal of an unknown
    // statistic shows when Method is -1.
    std::string StatCode;
    int32_t DrawsLen = 0;
    int32_t SortColumn = 0;
    bool BottomUp = false;
    bool MultiSelect = false;
    bool KeepSelected = false;
    uint8_t Condition = 0;
    std::string ConditionValue;   // the value compared with, or the comma-joined list
    std::string ConditionText;    // the value as the text form shows it
    bool OverrideWeights = false;
    stats::TWeightCoefs Weights{0, 0, 0, false, false};
    uint8_t StopMode = 0;
    int32_t StopValue = 0;

    bool operator==(const TFilterPart&) const = default;
};

constexpr int FilterRecParts = 7;
// The filters of one scenario step; parts not in use are all zero.
using TFilterRec = std::array<TFilterPart, FilterRecParts>;

class TFilterVar;

// Variants above this many are refused with the "too many variants" message: each one is a run
// of up to seven statistics tables and filters, so a larger step could not finish in any
// reasonable time, and the limit keeps a mistyped range from filling the memory.
constexpr int MaxFilterVariants = 1000000;

// All variants of the items (at most 7), depth-first with item 1 varying slowest. Fails with
// "Некорректное описание фильтра: %s!" for an item without draws lengths or, under a condition,
// without values. An item whose statistic is unknown takes its lengths from StatText and makes
// parts without a method, which ApplyFilterPart refuses by the statistic's code. The abort flag is polled before each draws length and stops the expansion
// with what was made; refusing a too large expansion sets it, shows the message and gives an
// empty list. `progress` receives "Создание всех вариантов фильтров ( %d )..." every 1000
// variants (the shell's status text when it is empty).
TFilterVar ExpandFilterVariants(std::span<const TFilterItem> items, const stats::TStatList& list, bool& abort,
                                shell::Shell& shell,
                                const std::function<void(const std::string&)>& progress = {});

// The variants of a step in creation order. A variant is kept as the index of its part in each
// item (draws length and value), so a million variants take tens of megabytes, not gigabytes;
// TakeFirst builds the record and forgets the variant.
class TFilterVar {
public:
    int Count() const { return static_cast<int>(m_vars.size()); }
    bool Empty() const { return m_vars.empty(); }
    // The next variant in creation order, unlinked from the list. Empty list: an all-zero record.
    TFilterRec TakeFirst();
    // The variant at a position without taking it (tests, logs).
    TFilterRec At(int index) const;
    void Clear();

private:
    friend TFilterVar ExpandFilterVariants(std::span<const TFilterItem>, const stats::TStatList&, bool&,
                                           shell::Shell&, const std::function<void(const std::string&)>&);
    // What the parts of one item share, and the lists their draws lengths and values come from.
    struct Item {
        TFilterPart Base;
        std::vector<int32_t> Lens;
        std::vector<int32_t> Values;   // one part per value; empty: the whole list in one part
    };
    using Choice = std::array<uint32_t, FilterRecParts>;   // per item: length * values + value
    TFilterRec build(const Choice& choice) const;

    std::vector<Item> m_items;
    std::deque<Choice> m_vars;
};

// --- text forms --------------------------------------------------------------------------------------

// "BMF8#SUMS:10, 20#WMV:5#SV:3#1.5:0.5:1:0:1"; empty for an item that is not Defined. Numbers
// use "." whatever the user's decimal separator is.
std::string FilterItemToText(const TFilterItem& item, const stats::TStatList& list);
// Never fails: what does not convert takes its default, an unknown statistic keeps its text.
TFilterItem TextToFilterItem(std::string_view text, const stats::TStatList& list);
// The form of the scenario logs: the statistic section is code ":" DrawsLen.
std::string FilterPartToText(const TFilterPart& part, const stats::TStatList& list);
// The texts of the defined parts joined with " + ".
std::string FilterRecToText(const TFilterRec& rec, const stats::TStatList& list);

// The coefficient reader of the text form: keeps digits and "-", takes "." and "," as the
// decimal point and an "E" followed by an exponent, drops everything else; 0 when what is left
// is not a number.
long double LenientFloat(std::string_view text);

// --- the filter dialog's rules -------------------------------------------------------------------

enum class TFilterField { Draws, Condition, ConditionText, StopMode };

struct TFilterRefusal {
    std::string Message;
    TFilterField Focus;
};

// The checks made when the dialog is confirmed, in their order; none when the item may be kept.
std::optional<TFilterRefusal> CheckFilterItem(const TFilterItem& item, const stats::TStatList& list);

// The draws and values fields take only digits, ",", ";", "-" and control keys.
bool FilterFieldAccepts(char32_t key);

// --- variants and row tests ------------------------------------------------------------------------

// Number conversions of the value lists, the row texts in list tests and the view cells:
// trimmed, nothing else allowed. Fail with kv::Error "Некорректное целое число: "%s"!" and
// "Некорректное число: "%s"!".
int32_t StrictInt(std::string_view text);
double StrictFloat(std::string_view text);

// Whether a row of the statistics table meets the part's selection condition. A value or a
// list word that is not a number, and in list tests a row text that is not one, fail with
// kv::Error.
bool RowMatchesCondition(const TFilterPart& part, const stats::TStatValues& row);
// The same test with the part's value or list read once, for a part that tests row after row.
// A value or word that is not a number fails where RowMatchesCondition would, at the test of a
// row, not before.
class TRowCondition {
public:
    explicit TRowCondition(const TFilterPart& part);
    bool Matches(const stats::TStatValues& row) const;

private:
    uint8_t m_condition = 0;
    bool m_always = true;
    long double m_value = 0;                // at-least and at-most tests
    std::vector<int64_t> m_integers;        // list tests of integer columns
    std::vector<double> m_numbers;          // list tests of the others
    std::optional<std::string> m_failure;   // what the value or the first bad word fails with
};
// The statistics-table column whose text RowMatchesCondition reads besides the value (column 0);
// -1 when it reads no other.
int ConditionColumn(const TFilterPart& part);

} // namespace kv::filters
