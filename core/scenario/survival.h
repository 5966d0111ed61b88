#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::scenario {

// How often a filter kept the ticket that was actually drawn next, over the draws of a
// scenario test. Every filter part that ran on a variant at a test offset is one test: the list
// size before and after it, and whether the hidden next draw, taken as a ticket, would have
// passed it. A filter that keeps the drawn ticket more often than the share of the list it keeps
// does better than cutting at random (lift above 1).
struct TSurvivalRecord {
    int32_t DrawNo = 0;    // the hidden draw
    int Line = 0;          // 1-based scenario line
    int Variant = 0;       // 1-based variant of the line
    int Part = 0;          // 1-based filter part of the variant
    std::string PartText;  // FilterPartToText of the part: what the summary groups by
    int Before = 0;
    int After = 0;
    bool Passed = false;
    // False for a defined part that did not run because the list held one combination or none
    // (an earlier part of the step cut that far): it is named in the summary but not a test.
    bool Ran = true;
};

// One row of the summary: a filter part text over all its tests. A part that never ran has a
// row with no tests and no rates.
struct TSurvivalRow {
    std::string PartText;
    int Tests = 0;
    int Survived = 0;
    double Rate = 0;        // Survived / Tests
    double KeptShare = 0;   // mean of After / Before
    double Lift = 0;        // Rate / KeptShare; 0 when nothing was kept
    double Low = 0, High = 0;   // Wilson 95% interval of Rate
    // The same over the hold-out draws of a test that kept some apart (the fields above then
    // count the tuning draws only); HoldTests 0 without a hold-out.
    int HoldTests = 0;
    int HoldSurvived = 0;
    double HoldRate = 0, HoldKeptShare = 0, HoldLift = 0, HoldLow = 0, HoldHigh = 0;
};

// The Wilson score interval of k successes in n trials at 95% (z = 1.96); (0, 0) for n = 0.
std::pair<double, double> WilsonInterval(int k, int n);

class TSurvival {
public:
    void Clear() { m_records.clear(); }
    void Add(TSurvivalRecord record) { m_records.push_back(std::move(record)); }
    const std::vector<TSurvivalRecord>& Records() const { return m_records; }
    bool Empty() const { return m_records.empty(); }

    // One row per part text, in the order the texts first appeared; tests on draws numbered
    // from `holdoutFrom` on (when it is above 0) count in the hold-out fields.
    std::vector<TSurvivalRow> Summary(int32_t holdoutFrom = 0) const;

private:
    std::vector<TSurvivalRecord> m_records;
};

// The window's and the CSV's columns: "Фильтр", "Тестов", "Выжил", "Выживаемость, %",
// "Доля оставленных, %", "Лифт", "Нижняя граница 95%, %", "Верхняя граница 95%, %".
// A test with a hold-out adds "Контроль: тестов", "Контроль: выжил", "Контроль: выживаемость, %",
// "Контроль: доля оставленных, %", "Контроль: лифт", "Контроль: нижняя граница 95%, %",
// "Контроль: верхняя граница 95%, %", and its first columns count the tuning draws only.
constexpr int SurvivalColumns = 8;
constexpr int SurvivalHoldoutColumns = 15;
const char* SurvivalColumnCaption(int column);
// Whether any row has hold-out tests: the table and the file then have the hold-out columns.
bool SurvivalHasHoldout(const std::vector<TSurvivalRow>& rows);
// SurvivalColumns or SurvivalHoldoutColumns.
int SurvivalColumnCount(const std::vector<TSurvivalRow>& rows);
// The text of a cell ('.' as the decimal point: the file is read back, the window localises).
// Percents have 2 decimals and the lift 3, more below that so that a small value keeps three
// significant digits (a kept share of 1 in 125970 is "0.000794"); rates of a row without tests
// are empty.
std::string SurvivalCellText(const TSurvivalRow& row, int column);

// CSV of the summary: the captions, then one line per row; fields separated by ";", texts
// quoted, CR LF line ends, UTF-8.
std::string SurvivalCsvText(const std::vector<TSurvivalRow>& rows);
// The lines the run log ends with: a banner, the captions and one line per row, tab-separated.
std::vector<std::string> SurvivalLogLines(const std::vector<TSurvivalRow>& rows);

// The summary of the last test, kept beside the run logs so that it can be shown again.
constexpr const char* SurvivalFileName = "ScriptSurvival.csv";
// Writes the file (UTF-8, like every CSV the program writes for other programs); throws on failure.
void SaveSurvival(const std::filesystem::path& file, const std::vector<TSurvivalRow>& rows);
// Reads it back (a CP1251 file of an earlier version too); a missing file gives no rows, lines
// that do not parse are skipped.
std::vector<TSurvivalRow> LoadSurvival(const std::filesystem::path& file);

} // namespace kv::scenario
