#include "core/scenario/testreport.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <numeric>

#include "core/stakes/ratings.h"
#include "core/util/files.h"
#include "core/util/format.h"
#include "core/util/ticks.h"

namespace kv::scenario {

namespace {

// The hits a stake of 8 numbers has on a random draw, on average: 8 x 8 / 20.
constexpr double ExpectedHits = 3.2;

std::string escaped(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': s += "&amp;"; break;
        case '<': s += "&lt;"; break;
        case '>': s += "&gt;"; break;
        case '"': s += "&quot;"; break;
        default: s += c;
        }
    }
    return s;
}

// Coordinates with one decimal and '.', whatever the user's separator: SVG reads no other.
void coord(std::string& out, double v)
{
    out += util::FormatSep('.', "%.1f", {v});
}

std::string tickText(double v, int decimals)
{
    return util::Format("%.*f", {decimals, v});
}

struct Frame {
    double Left = 64, Right = 740, Top = 28, Bottom = 222;
    double X0 = 0, X1 = 1, Y0 = 0, Y1 = 1;
    double X(double x) const { return Left + (x - X0) / (X1 - X0) * (Right - Left); }
    double Y(double y) const { return Bottom - (y - Y0) / (Y1 - Y0) * (Bottom - Top); }
};

const stakes::TLuckPart& tuningPart(const TReportRow& row, bool holdout)
{
    return holdout ? row.Luck.Tuning : row.Luck.All;
}

} // namespace

int64_t ExpectedStakeResultRaw(const stakes::TPrizeTable& prizes)
{
    const stakes::TChanceDistribution& chance = stakes::ChanceDistribution();
    long double expected = 0;
    for (int h = 0; h <= game::NumsPerDraw; ++h)
        expected += chance.Share[std::size_t(h)] * prizes.StakeResult(game::NumsPerDraw, h).raw;
    return int64_t(std::llround(expected));
}

bool PaysPrizes(const stakes::TPrizeTable& prizes)
{
    for (int h = 0; h <= game::NumsPerDraw; ++h)
        if (prizes.Profit(h).raw != 0) return true;
    return false;
}

TTestReport BuildTestReport(stakes::TStakesFile& file, const TTestRun& run, std::vector<TSurvivalRow> survival,
                            const stakes::TPrizeTable& prizes, const TReportSettings& settings,
                            const std::function<bool(int done, int total)>& progress)
{
    TTestReport report;
    report.Run = run;
    report.Repetitions = settings.Repetitions;
    report.Survival = std::move(survival);
    report.HasPrizes = PaysPrizes(prizes);
    report.ExpectedProfitRaw = ExpectedStakeResultRaw(prizes);

    // The rows of the test: both halves by name, in the order of the tuning half.
    std::vector<std::string> names;
    for (const stakes::TRatingsArray* half : {&run.Tuning, &run.Held})
        for (const stakes::TRatingRecord& r : *half)
            if (std::none_of(report.Rows.begin(), report.Rows.end(), [&](const TReportRow& x) { return x.Name == r.Name; })) {
                report.Rows.emplace_back().Name = r.Name;
                names.push_back(r.Name);
            }
    for (TReportRow& row : report.Rows) {
        for (const stakes::TRatingRecord& r : run.Tuning)
            if (r.Name == row.Name) row.Tuning = r;
        for (const stakes::TRatingRecord& r : run.Held)
            if (r.Name == row.Name) row.Held = r;
    }
    std::vector<std::vector<stakes::TLuckGroup>> groups = stakes::LuckGroups(file, names);
    for (auto& g : groups)
        std::erase_if(g, [&](const stakes::TLuckGroup& x) { return x.DrawNo < run.FirstDrawNo || x.DrawNo > run.LastDrawNo; });

    stakes::TLuckRowsSettings luck{.Draws = settings.Repetitions,
                                   .Seed = settings.Seed,
                                   .HoldoutFrom = run.HoldoutFrom,
                                   .BandPoints = settings.BandPoints};
    // With more rows than pictures, the band is drawn in a second, smaller pass once the order
    // is known.
    const bool allCharts = int(groups.size()) <= settings.ChartRows;
    if (!allCharts) luck.BandPoints = 0;
    stakes::TLuckRowsResult result = stakes::LuckTestRows(groups, prizes, luck, {}, progress);
    if (result.Cancelled) {
        report.Rows.clear();
        return report;
    }
    for (std::size_t i = 0; i < report.Rows.size(); ++i) report.Rows[i].Luck = std::move(result.Rows[i]);
    const bool holdout = run.Holdout > 0;
    std::vector<std::size_t> order(report.Rows.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const stakes::TLuckPart& x = tuningPart(report.Rows[a], holdout);
        const stakes::TLuckPart& y = tuningPart(report.Rows[b], holdout);
        if (x.QHits != y.QHits) return x.QHits < y.QHits;
        if (x.PHits != y.PHits) return x.PHits < y.PHits;
        return report.Rows[a].Name < report.Rows[b].Name;
    });
    std::vector<TReportRow> sorted;
    std::vector<std::vector<stakes::TLuckGroup>> sortedGroups;
    for (std::size_t i : order) {
        sorted.push_back(std::move(report.Rows[i]));
        sortedGroups.push_back(std::move(groups[i]));
    }
    report.Rows = std::move(sorted);
    if (!allCharts && settings.ChartRows > 0) {
        sortedGroups.resize(std::size_t(settings.ChartRows));
        luck.BandPoints = settings.BandPoints;
        stakes::TLuckRowsResult bands = stakes::LuckTestRows(sortedGroups, prizes, luck, {}, progress);
        if (bands.Cancelled) {
            report.Rows.clear();
            return report;
        }
        for (std::size_t i = 0; i < bands.Rows.size(); ++i) report.Rows[i].Luck.Band = std::move(bands.Rows[i].Band);
    }
    return report;
}

TTestReport BuildLastTestReport(stakes::TStakesFile& file, const std::filesystem::path& dir, std::string scenario,
                                const stakes::TPrizeTable& prizes, const TReportSettings& settings,
                                const std::function<bool(int done, int total)>& progress)
{
    TTestReport report = BuildTestReport(file, LoadTestRun(dir), LoadSurvival(dir / SurvivalFileName), prizes, settings, progress);
    report.Scenario = std::move(scenario);
    report.Created = ReportTimeNow();
    return report;
}

std::string ReportTimeNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return util::Format("%.4d-%.2d-%.2d %.2d:%.2d", {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min});
}

std::string ReportVerdict(const TReportRow& row, bool holdout)
{
    const stakes::TLuckPart& tune = tuningPart(row, holdout);
    if (tune.Draws == 0) return "нет ставок на тиражах настройки";
    if (!holdout) {
        if (tune.QHits < 0.05) return "вряд ли случайность";
        if (tune.PHits < 0.05) return "может оказаться случайностью среди многих идей";
        return "в пределах случайности";
    }
    const stakes::TLuckPart& held = row.Luck.Holdout;
    if (tune.QHits >= 0.05) return tune.PHits < 0.05 ? "может оказаться случайностью среди многих идей" : "в пределах случайности";
    if (held.Draws == 0) return "нет ставок на контрольных тиражах";
    if (held.PHits < 0.05) return "держится и на контрольных тиражах";
    return "на контрольных тиражах не подтвердилась";
}

TBandLines ReportBandLines(const stakes::TLuckBand& band, bool profit, int64_t expectedProfitRaw)
{
    TBandLines lines;
    const std::size_t n = band.DrawNo.size();
    const auto& r = profit ? band.Profit : band.Hits;
    const auto& l = profit ? band.ProfitLow : band.HitsLow;
    const auto& h = profit ? band.ProfitHigh : band.HitsHigh;
    const double scale = profit ? 10000.0 : 1.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double base = profit ? double(expectedProfitRaw) * band.Stakes[i] : ExpectedHits * band.Stakes[i];
        lines.X.push_back(band.DrawNo[i]);
        lines.Real.push_back((double(r[i]) - base) / scale);
        lines.Low.push_back((double(l[i]) - base) / scale);
        lines.High.push_back((double(h[i]) - base) / scale);
    }
    return lines;
}

const char* BandChartTitle(bool profit)
{
    return profit ? "Профит сверх среднего на случайных тиражах" : "Совпадения сверх ожидаемых на случайных тиражах";
}

std::string ReportBandSvg(const stakes::TLuckBand& band, bool profit, int64_t expectedProfitRaw, int32_t holdoutFrom)
{
    const TBandLines lines = ReportBandLines(band, profit, expectedProfitRaw);
    const std::vector<double>&real = lines.Real, &low = lines.Low, &high = lines.High;
    const std::size_t n = real.size();
    Frame f;
    double ymin = 0, ymax = 0;
    for (std::size_t i = 0; i < n; ++i) {
        ymin = std::min({ymin, real[i], low[i]});
        ymax = std::max({ymax, real[i], high[i]});
    }
    const util::TAxisTicks yt = util::NiceTicks(ymin, ymax, 5, !profit);
    f.Y0 = yt.Min;
    f.Y1 = yt.Max;
    const double first = n > 0 ? band.DrawNo.front() : 0, last = n > 0 ? band.DrawNo.back() : 1;
    const util::TAxisTicks xt = util::NiceTicks(first, std::max(last, first + 1), 6, true);
    f.X0 = first;
    f.X1 = std::max(last, first + 1);

    std::string s;
    s.reserve(4096 + n * 64);
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"760\" height=\"256\" viewBox=\"0 0 760 256\" class=\"chart\">";
    s += "<text x=\"64\" y=\"16\" class=\"title\">";
    s += BandChartTitle(profit);
    s += "</text>";
    if (holdoutFrom > 0 && holdoutFrom <= last) {
        const double x = std::max(f.Left, f.X(holdoutFrom - 0.5));
        s += "<rect x=\"";
        coord(s, x);
        s += "\" y=\"28\" width=\"";
        coord(s, f.Right - x);
        s += "\" height=\"194\" class=\"holdout\"/><text x=\"";
        coord(s, x + 4);
        s += "\" y=\"40\" class=\"note\">";
        s += HoldoutMarkText;
        s += "</text>";
    }
    for (int i = 0; i < yt.Count(); ++i) {
        const double v = yt.Min + i * yt.Step;
        s += "<line x1=\"64\" x2=\"740\" y1=\"";
        coord(s, f.Y(v));
        s += "\" y2=\"";
        coord(s, f.Y(v));
        s += std::abs(v) < yt.Step / 2 ? "\" class=\"zero\"/>" : "\" class=\"grid\"/>";
        s += "<text x=\"58\" y=\"";
        coord(s, f.Y(v) + 4);
        s += "\" class=\"ylabel\">" + tickText(v, yt.Decimals) + "</text>";
    }
    for (int i = 0; i < xt.Count(); ++i) {
        const double v = xt.Min + i * xt.Step;
        if (v < f.X0 || v > f.X1) continue;
        s += "<text x=\"";
        coord(s, f.X(v));
        s += "\" y=\"238\" class=\"xlabel\">" + tickText(v, 0) + "</text>";
    }
    if (n > 0) {
        s += "<polygon class=\"band\" points=\"";
        for (std::size_t i = 0; i < n; ++i) {
            coord(s, f.X(band.DrawNo[i]));
            s += ',';
            coord(s, f.Y(high[i]));
            s += ' ';
        }
        for (std::size_t i = n; i-- > 0;) {
            coord(s, f.X(band.DrawNo[i]));
            s += ',';
            coord(s, f.Y(low[i]));
            s += ' ';
        }
        s += "\"/><polyline class=\"real\" points=\"";
        for (std::size_t i = 0; i < n; ++i) {
            coord(s, f.X(band.DrawNo[i]));
            s += ',';
            coord(s, f.Y(real[i]));
            s += ' ';
        }
        s += "\"/>";
    }
    s += "<text x=\"402\" y=\"252\" class=\"xlabel\">тираж</text>";
    s += "<rect x=\"480\" y=\"6\" width=\"14\" height=\"10\" class=\"band\"/><text x=\"498\" y=\"15\" class=\"legend\">";
    s += BandSeriesText;
    s += "</text><line x1=\"668\" x2=\"688\" y1=\"11\" y2=\"11\" class=\"real\"/><text x=\"692\" y=\"15\" class=\"legend\">";
    s += IdeaSeriesText;
    s += "</text>";
    s += "</svg>";
    return s;
}

std::string ReportSurvivalSvg(const std::vector<TSurvivalRow>& rows)
{
    constexpr std::size_t MaxRows = 60;
    const std::size_t n = std::min(rows.size(), MaxRows);
    const bool holdout = SurvivalHasHoldout(rows);
    const double height = 44 + double(n) * 24;
    Frame f{.Left = 330, .Right = 740, .Top = 30, .Bottom = height - 10, .X0 = 0, .X1 = 100};
    std::string s;
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"760\" height=\"";
    coord(s, height);
    s += "\" class=\"chart\"><text x=\"4\" y=\"16\" class=\"title\">Выживаемость фильтров, % (95% интервал Вильсона)</text>";
    s += "<circle cx=\"400\" cy=\"11\" r=\"4\" class=\"tune\"/><text x=\"408\" y=\"15\" class=\"legend\">";
    s += holdout ? "настройка" : "выживаемость";
    s += "</text>";
    if (holdout) s += "<circle cx=\"486\" cy=\"11\" r=\"4\" class=\"hold\"/><text x=\"494\" y=\"15\" class=\"legend\">контроль</text>";
    s += "<path d=\"M 566 6 l 5 5 l -5 5 l -5 -5 z\" class=\"kept\"/><text x=\"576\" y=\"15\" class=\"legend\">доля "
         "оставленных билетов</text>";
    for (int t = 0; t <= 100; t += 20) {
        s += "<line y1=\"30\" y2=\"";
        coord(s, height - 14);
        s += "\" x1=\"";
        coord(s, f.X(t));
        s += "\" x2=\"";
        coord(s, f.X(t));
        s += "\" class=\"grid\"/><text y=\"";
        coord(s, height - 2);
        s += "\" x=\"";
        coord(s, f.X(t));
        s += "\" class=\"xlabel\">" + std::to_string(t) + "</text>";
    }
    for (std::size_t i = 0; i < n; ++i) {
        const TSurvivalRow& r = rows[i];
        const double y = 44 + double(i) * 24;
        std::string label = r.PartText;
        if (label.size() > 52) label = label.substr(0, 49) + "...";
        s += "<text x=\"4\" y=\"";
        coord(s, y + 4);
        s += "\" class=\"legend\">" + escaped(label) + "</text>";
        const auto interval = [&](double rate, double lo, double hi, double dy, const char* cls) {
            s += "<line x1=\"";
            coord(s, f.X(lo * 100));
            s += "\" x2=\"";
            coord(s, f.X(hi * 100));
            s += "\" y1=\"";
            coord(s, y + dy);
            s += "\" y2=\"";
            coord(s, y + dy);
            s += std::string("\" class=\"") + cls + "\"/><circle r=\"4\" cx=\"";
            coord(s, f.X(rate * 100));
            s += "\" cy=\"";
            coord(s, y + dy);
            s += std::string("\" class=\"") + cls + "\"/>";
        };
        if (r.Tests > 0) interval(r.Rate, r.Low, r.High, holdout ? -4 : 0, "tune");
        if (r.HoldTests > 0) interval(r.HoldRate, r.HoldLow, r.HoldHigh, 5, "hold");
        const double kept = r.Tests > 0 ? r.KeptShare : r.HoldKeptShare;
        s += "<path class=\"kept\" d=\"M ";
        coord(s, f.X(kept * 100));
        s += ' ';
        coord(s, y - 6);
        s += " l 5 6 l -5 6 l -5 -6 z\"/>";
    }
    s += "</svg>";
    return s;
}

std::string TestReportHtml(const TTestReport& report)
{
    const TTestRun& run = report.Run;
    const bool holdout = run.Holdout > 0;
    const int reps = report.Repetitions;
    std::string h;
    h.reserve(65536);
    h += "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>Отчет о тесте сценария</title><style>\n"
         "body{font-family:'DejaVu Sans',Arial,sans-serif;font-size:14px;margin:24px;color:#222;max-width:1320px}\n"
         "h1{font-size:22px}h2{font-size:18px;margin-top:28px}h3{font-size:14px;margin:18px 0 4px}\n"
         "table{border-collapse:collapse;font-size:12px}td.name{min-width:300px}th,td{border:1px solid #ccc;padding:3px 6px}\n"
         "td.n{text-align:right}th{background:#f0f0f0}td.good{background:#e6f4e6}td.weak{background:#fdecea}\n"
         ".chart text{font-family:'DejaVu Sans',Arial,sans-serif;font-size:11px;fill:#333}.chart .title{font-size:12px;font-weight:bold}\n"
         ".ylabel{text-anchor:end}.xlabel{text-anchor:middle}.grid{stroke:#e4e4e4}.zero{stroke:#888;stroke-dasharray:4 3}\n"
         ".band{fill:#c6dbef;stroke:#9ecae1}.real{fill:none;stroke:#c62828;stroke-width:2}.holdout{fill:#fff3e0}\n"
         ".tune{stroke:#1f5fa8;fill:#1f5fa8;stroke-width:2}.hold{stroke:#e07000;fill:#e07000;stroke-width:2}.kept{fill:#777}\n"
         ".note{fill:#a85a00}div.wide{overflow-x:auto}p.chance{background:#f6f6f6;padding:8px;border-left:4px solid #1f5fa8}\n"
         "</style></head><body>\n<h1>Отчет о тесте сценария</h1>\n<p>";
    h += util::Format("Сценарий: %s. Тест по %d тиражам (№ %d - № %d)",
                      {escaped(report.Scenario), run.Count, run.FirstDrawNo, run.LastDrawNo});
    if (holdout)
        h += util::Format(", из них контрольных, на которых сценарий не настраивался: %d (№ %d - № %d)",
                          {run.Holdout, run.HoldoutFrom, run.LastDrawNo});
    h += util::Format(". Случайных повторений: %d. Отчет создан %s.</p>\n", {reps, escaped(report.Created)});
    h += "<h2>Как читать отчет</h2>\n<ul>\n";
    if (holdout)
        h += "<li><b>Контрольные тиражи</b> - последние тиражи теста, которые держат в стороне: фильтры подбирают по "
             "тиражам настройки, а контрольные показывают, работает ли идея на тиражах, которых она не видела. Идея, "
             "хорошая только на тиражах настройки, скорее всего просто подогнана под них.</li>\n";
    h += "<li><b>p</b> - доля случайных тиражей, на которых те же ставки совпали бы (дали бы профит) не меньше, чем на "
         "настоящих. p = 0,03 значит: чистая случайность дает такой результат в 3 случаях из 100.</li>\n"
         "<li><b>q</b> - то же p с поправкой на то, сколько идей проверено вместе (поправка Бенджамини-Хохберга). "
         "Среди многих идей какая-нибудь обязательно получит малое p случайно; среди идей с q &lt; 0,05 случайных "
         "находок в среднем не больше 5%.</li>\n"
         "<li>На графиках линия идеи - накопленные совпадения (профит) минус то, что в среднем дают случайные "
         "тиражи; голубая полоса - где лежат 90% случайных результатов тех же ставок. Линия выше полосы - "
         "результат лучше случайного.</li>\n</ul>\n";
    // The sentence about chance, over the rows of the tuning side.
    int tested = 0, belowP = 0, belowQ = 0;
    for (const TReportRow& row : report.Rows) {
        const stakes::TLuckPart& t = tuningPart(row, holdout);
        if (t.Draws == 0) continue;
        ++tested;
        belowP += t.PHits < 0.05;
        belowQ += t.QHits < 0.05;
    }
    h += "<p class=\"chance\">" + escaped(stakes::LuckChanceText(tested, belowP, belowQ));
    if (holdout) h += " Значения p и q здесь - по тиражам настройки.";
    h += "</p>\n<h2>Идеи</h2>\n<div class=\"wide\"><table><tr><th rowspan=\"2\">Идея</th>";
    const bool money = report.HasPrizes;
    const std::string span = money ? "7" : "4";
    if (holdout) {
        h += "<th colspan=\"" + span + "\">Тиражи настройки</th><th colspan=\"" + span + "\">Контрольные тиражи</th>";
    } else {
        h += "<th colspan=\"" + span + "\">Все тиражи теста</th>";
    }
    h += "<th rowspan=\"2\">Итог</th></tr><tr>";
    for (int k = 0; k < (holdout ? 2 : 1); ++k) {
        h += "<th>Ставок</th><th>Среднее</th><th>p</th><th>q</th>";
        if (money) h += "<th>Профит</th><th>p</th><th>q</th>";
    }
    h += "</tr>\n";
    const auto pq = [&](double p, double q) {
        h += std::string("<td class=\"n") + (p < 0.05 ? " good" : "") + "\">" + stakes::LuckPText(p, reps) + "</td>";
        h += std::string("<td class=\"n") + (q < 0.05 ? " good" : "") + "\">" + stakes::LuckPText(q, reps) + "</td>";
    };
    const auto side = [&](const stakes::TRatingRecord& r, const stakes::TLuckPart& part) {
        h += "<td class=\"n\">" + std::to_string(r.StakeCount) + "</td>";
        if (r.StakeCount == 0 || part.Draws == 0) {
            h += money ? "<td></td><td></td><td></td><td></td><td></td><td></td>" : "<td></td><td></td><td></td>";
            return;
        }
        h += "<td class=\"n\">" + util::Format("%.3f", {double(r.HitSum) / r.StakeCount}) + "</td>";
        pq(part.PHits, part.QHits);
        if (!money) return;
        h += "<td class=\"n\">" + util::Format("%.2f", {r.ProfitSum.ToDouble()}) + "</td>";
        pq(part.PProfit, part.QProfit);
    };
    for (const TReportRow& row : report.Rows) {
        h += "<tr><td class=\"name\">" + escaped(row.Name) + "</td>";
        if (holdout) {
            side(row.Tuning, row.Luck.Tuning);
            side(row.Held, row.Luck.Holdout);
        } else {
            side(row.Tuning, row.Luck.All);
        }
        h += "<td>" + escaped(ReportVerdict(row, holdout)) + "</td></tr>\n";
    }
    h += "</table></div>\n";
    h += "<h2>Графики идей</h2>\n";
    for (const TReportRow& row : report.Rows) {
        if (row.Luck.Band.Empty()) continue;
        h += "<h3>" + escaped(row.Name) + "</h3>\n<div>";
        h += ReportBandSvg(row.Luck.Band, false, report.ExpectedProfitRaw, run.HoldoutFrom);
        if (report.HasPrizes) h += ReportBandSvg(row.Luck.Band, true, report.ExpectedProfitRaw, run.HoldoutFrom);
        h += "</div>\n";
    }
    if (!report.Survival.empty()) {
        h += "<h2>Фильтры</h2>\n<p>Как часто фильтр оставлял билет, который затем выпал. Фильтр лучше случайного "
             "отсева, когда выживаемость (точка с интервалом) правее доли оставленных им билетов (ромб).</p>\n";
        h += ReportSurvivalSvg(report.Survival);
        const int columns = SurvivalColumnCount(report.Survival);
        h += "\n<div class=\"wide\"><table><tr>";
        for (int c = 0; c < columns; ++c) h += std::string("<th>") + escaped(SurvivalColumnCaption(c)) + "</th>";
        h += "</tr>\n";
        for (const TSurvivalRow& r : report.Survival) {
            h += "<tr><td>" + escaped(r.PartText) + "</td>";
            for (int c = 1; c < columns; ++c) {
                std::string text = SurvivalCellText(r, c);
                std::replace(text.begin(), text.end(), '.', util::DecimalSeparator());
                h += "<td class=\"n\">" + text + "</td>";
            }
            h += "</tr>\n";
        }
        h += "</table></div>\n";
    }
    h += "</body></html>\n";
    return h;
}

void SaveTestReport(const std::filesystem::path& file, const TTestReport& report)
{
    util::RewriteFile(file, TestReportHtml(report));
}

} // namespace kv::scenario
