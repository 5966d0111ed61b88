#include "core/workspace/listexport.h"

#include "core/archive/drawlist.h"
#include "core/filters/combcells.h"
#include "core/filters/comblist.h"
#include "core/stakes/lucktest.h"
#include "core/stakes/ratings.h"
#include "core/stakes/stakegrid.h"
#include "core/stakes/stakesfile.h"
#include "core/stats/stattable.h"

namespace kv::workspace {

namespace {

template <typename CaptionFn>
std::vector<std::string> captions(int count, CaptionFn caption)
{
    std::vector<std::string> r;
    for (int c = 0; c < count; ++c) r.emplace_back(caption(c));
    return r;
}

} // namespace

std::filesystem::path ExportOptionsPath(const std::filesystem::path& dataDir, const std::string& baseName,
                                        const std::string& list)
{
    return dataDir / (baseName + "_" + list + ".exp");
}

util::TExportSheet DrawsSheet(const game::TDrawsArray& draws, int offset, bool sorted, bool colorDraws, int channelSize)
{
    util::TExportSheet sheet;
    sheet.Title = "Архив тиражей";
    sheet.Captions = captions(archive::DrawListColumns, archive::DrawListCaption);
    sheet.RowCount = static_cast<int>(draws.size());
    sheet.Row = [&draws, offset, sorted, colorDraws, channelSize](int row, std::vector<util::TSheetCell>& cells) {
        const game::TDraw& draw = draws[draws.size() - 1 - static_cast<std::size_t>(row)];
        for (int c = 0; c < archive::DrawListColumns; ++c) {
            util::TSheetCell& cell = cells[static_cast<std::size_t>(c)];
            cell.Text = archive::DrawCellText(draw, c, sorted);
            cell.Numeric = c != archive::DrawListColumns - 1;
            cell.Date = !cell.Numeric;
            const uint32_t color = archive::DrawCellColor(draw, row, c, offset, colorDraws, channelSize, sorted);
            if (color != archive::WhiteColor) cell.Fill = color;
        }
    };
    return sheet;
}

util::TExportSheet StatTableSheet(const stats::TStatTable& table, bool normShown)
{
    std::vector<int> shown;
    for (int c = 0; c < stats::StatColumns; ++c)
        if (normShown || !stats::IsNormColumn(c)) shown.push_back(c);
    util::TExportSheet sheet;
    sheet.Title = "Статистика";
    for (int c : shown) sheet.Captions.emplace_back(stats::StatColumnCaption(c));
    sheet.RowCount = table.RowCount();
    // A value column of names ("1-2", "чёт") stays text even where one of them reads as a number.
    bool numericValues = table.RowCount() > 0;
    for (int row = 0; row < table.RowCount() && numericValues; ++row)
        numericValues = util::ParseShownNumber(table.CellText(row, 0)).has_value();
    sheet.Row = [&table, shown, numericValues](int row, std::vector<util::TSheetCell>& cells) {
        for (std::size_t i = 0; i < shown.size(); ++i) {
            cells[i].Text = table.CellText(row, shown[i]);
            cells[i].Numeric = shown[i] != 0 || numericValues;
        }
    };
    return sheet;
}

util::TExportSheet CombsSheet(const filters::TCombList& combs, bool colorCombs, int channelSize)
{
    util::TExportSheet sheet;
    sheet.Title = "Комбинации";
    sheet.Captions = captions(filters::CombListColumns, filters::CombListCaption);
    sheet.RowCount = combs.Count();
    sheet.Row = [&combs, colorCombs, channelSize](int row, std::vector<util::TSheetCell>& cells) {
        const game::TComb& comb = combs[row];
        for (int c = 0; c < filters::CombListColumns; ++c) {
            util::TSheetCell& cell = cells[static_cast<std::size_t>(c)];
            cell.Text = filters::CombCellText(comb, row, c);
            cell.Numeric = true;
            const uint32_t color = filters::CombCellColor(comb, c, colorCombs, channelSize);
            if (color != archive::WhiteColor) cell.Fill = color;
        }
    };
    return sheet;
}

util::TExportSheet StakesSheet(stakes::TStakesFile& file)
{
    util::TExportSheet sheet;
    sheet.Title = "Ставки";
    sheet.Captions = captions(stakes::StakeGridColumnCount, stakes::StakeGridCaption);
    sheet.RowCount = file.RecordCount();
    sheet.Row = [&file](int row, std::vector<util::TSheetCell>& cells) {
        const stakes::TStakeRecord stake = file.ReadStake(row);
        const std::optional<uint32_t> fill = stakes::StakeRowColor(stake.Origin);
        for (int c = 0; c < stakes::StakeGridColumnCount; ++c) {
            util::TSheetCell& cell = cells[static_cast<std::size_t>(c)];
            cell.Text = stakes::StakeCellText(stake, c);
            // The draw, the sample size, the match count and the profit.
            cell.Numeric = c == 0 || c == 3 || c == 5 || c == 7;
            cell.Fill = fill;
        }
    };
    return sheet;
}

util::TExportSheet RatingsSheet(const stakes::TRatings& ratings, const TLuckColumns& luck)
{
    util::TExportSheet sheet;
    sheet.Title = "Рейтинг";
    sheet.Captions = captions(stakes::RatingColumnCount, stakes::RatingColumnCaption);
    if (luck.Cache) {
        sheet.Captions.emplace_back(stakes::LuckHitsCaption);
        sheet.Captions.emplace_back(stakes::LuckProfitCaption);
    }
    sheet.RowCount = ratings.Count();
    sheet.Row = [&ratings, luck](int row, std::vector<util::TSheetCell>& cells) {
        for (int c = 0; c < stakes::RatingColumnCount; ++c) {
            util::TSheetCell& cell = cells[static_cast<std::size_t>(c)];
            cell.Text = stakes::RatingCellText(ratings.Items(), row, c, ratings.EffMode());
            cell.Numeric = c != 0;
        }
        if (!luck.Cache) return;
        const stakes::TLuckResult* r = luck.Cache->Find(ratings[row]);
        util::TSheetCell& hits = cells[stakes::RatingColumnCount];
        util::TSheetCell& profit = cells[stakes::RatingColumnCount + 1];
        hits.Numeric = profit.Numeric = true;
        if (!r) return;
        hits.Text = stakes::LuckPText(r->PHits, luck.Draws);
        profit.Text = luck.PrizesEmpty ? "-" : stakes::LuckPText(r->PProfit, luck.Draws);
    };
    return sheet;
}

} // namespace kv::workspace
