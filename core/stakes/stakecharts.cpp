#include "core/stakes/stakecharts.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "core/shell/shell.h"
#include "core/stakes/sametext.h"
#include "core/stakes/stakesfile.h"
#include "core/util/binio.h"
#include "core/util/cp1251.h"

namespace kv::stakes {

namespace {

constexpr const char* GraphStatus = "Создание графиков...";
constexpr int ChunkRecords = 4096;
constexpr int LastDraws = 100;
constexpr std::size_t Size = TStakeRecord::RecordSize;

// A stake that has a result to chart.
bool isResult(const uint8_t* p)
{
    return util::GetU8(p + TStakeRecord::OffChecked) != 0 && util::GetI32(p + TStakeRecord::OffDrawNo) > 0
        && util::GetI32(p + TStakeRecord::OffMatched) >= 0 && !StakeBytesDamaged(p);
}

// Calls visit(record bytes, index) for records first..count-1 in file order.
template <typename Visit>
void forEachRecord(TStakesFile& file, int first, Visit visit)
{
    const int total = file.RecordCount();
    if (first >= total) return;
    std::vector<uint8_t> buf(static_cast<std::size_t>(std::min(total - first, ChunkRecords)) * Size);
    for (int start = first; start < total; start += ChunkRecords) {
        const int n = std::min(ChunkRecords, total - start);
        file.ReadRecords(start, n, buf.data());
        for (int i = 0; i < n; ++i) visit(buf.data() + static_cast<std::size_t>(i) * Size, start + i);
    }
}

double money(util::Currency c)
{
    return c.ToDouble();
}

} // namespace

void TChartData::AddPoint(int x, std::string_view seriesName, double y, bool showPoints, bool showMarks,
                          uint32_t color)
{
    TChartLine* line = nullptr;
    for (TChartLine& s : Series)
        if (SameText(s.Title, seriesName)) {
            line = &s;
            break;
        }
    if (line == nullptr) {
        Series.push_back(TChartLine{std::string(seriesName), color, showPoints, showMarks, {}});
        line = &Series.back();
    }
    line->Points.push_back({static_cast<double>(x), y, std::to_string(x)});
}

const TChartLine* TChartData::Find(std::string_view title) const
{
    for (const TChartLine& s : Series)
        if (SameText(s.Title, title)) return &s;
    return nullptr;
}

void AddProfit(TProfitDrawArray& arr, int32_t key, util::Currency amount)
{
    for (TProfitDraw& e : arr)
        if (e.Key == key) {
            e.Amount += amount;
            return;
        }
    arr.push_back({key, amount});
}

std::optional<TChartData> StakesGraphDraws(TStakesFile& file, shell::Shell& shell)
{
    TProfitDrawArray perDraw;
    {
        shell::BusyScope busy(shell, GraphStatus);
        try {
            // Same sums as AddProfit, with an index so that many draws stay fast.
            std::unordered_map<int32_t, std::size_t> where;
            forEachRecord(file, 0, [&](const uint8_t* p, int) {
                const int32_t drawNo = util::GetI32(p + TStakeRecord::OffDrawNo);
                if (drawNo < 0) return;
                const util::Currency profit = util::Currency::FromRaw(util::GetI64(p + TStakeRecord::OffProfit));
                const auto [it, added] = where.try_emplace(drawNo, perDraw.size());
                if (added)
                    perDraw.push_back({drawNo, profit});
                else
                    perDraw[it->second].Amount += profit;
            });
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка чтения записи из файла ставок!", e.what());
            return std::nullopt;
        }
    }
    if (perDraw.size() < 2) {
        shell.ShowError(TooFewDrawsText);
        return std::nullopt;
    }
    util::Currency total;
    for (const TProfitDraw& e : perDraw) total += e.Amount;
    const double mean = money(total) / static_cast<double>(perDraw.size());

    TChartData chart;
    chart.Caption = "График суммарного профита ставок по тиражам";
    util::Currency cumulative;
    for (const TProfitDraw& e : perDraw) {
        cumulative += e.Amount;
        chart.AddPoint(e.Key, "Суммарный профит ставок по тиражу", money(e.Amount), true, true, 0x008000);
        chart.AddPoint(e.Key, "Среднее значение", mean, false, false, 0x0000FF);
        chart.AddPoint(e.Key, "Накопленное значение", money(cumulative), true, true, 0xFF0000);
    }
    return chart;
}

TDrawRange SeekLastDraws(TStakesFile& file, int n)
{
    TDrawRange range;
    const int total = file.RecordCount();
    std::vector<uint8_t> buf(static_cast<std::size_t>(std::min(total, ChunkRecords)) * Size);
    bool any = false;
    int32_t previous = 0;
    for (int end = total; end > 0; end -= ChunkRecords) {
        const int start = std::max(0, end - ChunkRecords);
        file.ReadRecords(start, end - start, buf.data());
        for (int i = end - start - 1; i >= 0; --i) {
            const uint8_t* p = buf.data() + static_cast<std::size_t>(i) * Size;
            if (!isResult(p)) continue;
            const int32_t drawNo = util::GetI32(p + TStakeRecord::OffDrawNo);
            if (any && drawNo == previous) continue;
            if (range.Draws == n) {
                range.FirstIndex = start + i + 1;
                return range;
            }
            any = true;
            previous = drawNo;
            ++range.Draws;
        }
    }
    range.FirstIndex = 0;
    return range;
}

namespace {

std::optional<TChartData> stakesGraphByName(TStakesFile& file, const std::vector<std::string>& names,
                                            shell::Shell& shell, bool profits)
{
    TChartData chart;
    chart.Caption = profits ? "График профита для всех ставок по тиражам"
                            : "График количества совпадений для всех ставок по тиражам";
    {
        shell::BusyScope busy(shell, GraphStatus);
        if (names.empty()) {
            shell.ShowError(TooFewDrawsText);
            return std::nullopt;
        }
        TDrawRange range;
        try {
            range = SeekLastDraws(file, LastDraws);
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка поиска записи по номеру тиража в файле ставок!", e.what());
            return std::nullopt;
        }
        if (range.Draws < 2) {
            shell.ShowError(TooFewDrawsText);
            return std::nullopt;
        }
        // Names are compared in the file's code page, so a comment is decoded only when it matches.
        std::vector<std::string> upperNames;
        upperNames.reserve(names.size());
        for (const std::string& name : names) upperNames.push_back(UpperCp1251(util::Utf8ToCp1251(name)));
        try {
            forEachRecord(file, range.FirstIndex, [&](const uint8_t* p, int) {
                if (!isResult(p)) return;
                const uint8_t* comment = p + TStakeRecord::OffComment;
                const std::string upper = UpperCp1251(std::string_view(
                    reinterpret_cast<const char*>(comment + 1), std::min<std::size_t>(comment[0], TStakeRecord::CommentCapacity)));
                if (std::find(upperNames.begin(), upperNames.end(), upper) == upperNames.end()) return;
                TStakeRecord r;
                r.Read(p);
                const double y = profits ? money(r.Profit) : static_cast<double>(r.Matched.Count);
                chart.AddPoint(r.DrawNo, r.Comment, y, true, true);
            });
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка чтения записи из файла ставок!", e.what());
            return std::nullopt;
        }
    }
    return chart;
}

} // namespace

std::optional<TChartData> StakesGraphOverlap(TStakesFile& file, const std::vector<std::string>& names,
                                             shell::Shell& shell)
{
    return stakesGraphByName(file, names, shell, false);
}

std::optional<TChartData> StakesGraphProfits(TStakesFile& file, const std::vector<std::string>& names,
                                             shell::Shell& shell)
{
    return stakesGraphByName(file, names, shell, true);
}

} // namespace kv::stakes
