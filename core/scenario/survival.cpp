#include "core/scenario/survival.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <system_error>

#include "core/stakes/ratings.h"
#include "core/util/cp1251.h"
#include "core/util/files.h"

namespace kv::scenario {

namespace {

constexpr const char* Captions[SurvivalHoldoutColumns] = {"Фильтр",
                                                          "Тестов",
                                                          "Выжил",
                                                          "Выживаемость, %",
                                                          "Доля оставленных, %",
                                                          "Лифт",
                                                          "Нижняя граница 95%, %",
                                                          "Верхняя граница 95%, %",
                                                          "Контроль: тестов",
                                                          "Контроль: выжил",
                                                          "Контроль: выживаемость, %",
                                                          "Контроль: доля оставленных, %",
                                                          "Контроль: лифт",
                                                          "Контроль: нижняя граница 95%, %",
                                                          "Контроль: верхняя граница 95%, %"};

// Fixed decimals with '.', whatever the process locale says.
std::string fixed(double v, int decimals)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

// Fixed decimals, more for a small value: at least three significant digits show.
std::string significant(double v, int decimals)
{
    if (v > 0 && v < 1) decimals = std::max(decimals, 2 - int(std::floor(std::log10(v))));
    return fixed(v, std::min(decimals, 12));
}

double number(std::string_view s)
{
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// The fields of one CSV line: ";" separated, a field in double quotes may hold ";" and "".
std::vector<std::string> csvFields(std::string_view line)
{
    std::vector<std::string> fields;
    std::string cur;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cur += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cur += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            fields.push_back(std::move(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    fields.push_back(std::move(cur));
    return fields;
}

} // namespace

std::pair<double, double> WilsonInterval(int k, int n)
{
    if (n <= 0) return {0, 0};
    constexpr double z = 1.959963984540054;
    const double nn = n;
    const double p = k / nn;
    const double z2n = z * z / nn;
    const double centre = (p + z2n / 2) / (1 + z2n);
    const double half = z / (1 + z2n) * std::sqrt(p * (1 - p) / nn + z * z / (4 * nn * nn));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

std::vector<TSurvivalRow> TSurvival::Summary(int32_t holdoutFrom) const
{
    struct Half {
        int Tests = 0, Survived = 0;
        double Shares = 0;
        void Finish(double& rate, double& kept, double& lift, double& low, double& high) const
        {
            if (Tests == 0) return;
            rate = double(Survived) / Tests;
            kept = Shares / Tests;
            lift = kept > 0 ? rate / kept : 0;
            std::tie(low, high) = WilsonInterval(Survived, Tests);
        }
    };
    std::vector<TSurvivalRow> rows;
    std::vector<std::array<Half, 2>> halves;
    std::map<std::string, std::size_t, std::less<>> index;
    for (const TSurvivalRecord& r : m_records) {
        auto [it, added] = index.try_emplace(r.PartText, rows.size());
        if (added) {
            rows.push_back(TSurvivalRow{.PartText = r.PartText});
            halves.emplace_back();
        }
        if (!r.Ran) continue;
        Half& h = halves[it->second][holdoutFrom > 0 && r.DrawNo >= holdoutFrom ? 1 : 0];
        ++h.Tests;
        if (r.Passed) ++h.Survived;
        if (r.Before > 0) h.Shares += double(r.After) / r.Before;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TSurvivalRow& row = rows[i];
        const auto& [tune, hold] = halves[i];
        row.Tests = tune.Tests;
        row.Survived = tune.Survived;
        tune.Finish(row.Rate, row.KeptShare, row.Lift, row.Low, row.High);
        row.HoldTests = hold.Tests;
        row.HoldSurvived = hold.Survived;
        hold.Finish(row.HoldRate, row.HoldKeptShare, row.HoldLift, row.HoldLow, row.HoldHigh);
    }
    return rows;
}

bool SurvivalHasHoldout(const std::vector<TSurvivalRow>& rows)
{
    return std::any_of(rows.begin(), rows.end(), [](const TSurvivalRow& r) { return r.HoldTests > 0; });
}

int SurvivalColumnCount(const std::vector<TSurvivalRow>& rows)
{
    return SurvivalHasHoldout(rows) ? SurvivalHoldoutColumns : SurvivalColumns;
}

const char* SurvivalColumnCaption(int column)
{
    return column >= 0 && column < SurvivalHoldoutColumns ? Captions[column] : "";
}

std::string SurvivalCellText(const TSurvivalRow& row, int column)
{
    switch (column) {
    case 0: return row.PartText;
    case 1: return std::to_string(row.Tests);
    case 2: return std::to_string(row.Survived);
    case 8: return std::to_string(row.HoldTests);
    case 9: return std::to_string(row.HoldSurvived);
    }
    if (column <= 7 && row.Tests == 0) return {};
    if (column > 7 && row.HoldTests == 0) return {};
    switch (column) {
    case 3: return significant(row.Rate * 100, 2);
    case 4: return significant(row.KeptShare * 100, 2);
    case 5: return row.KeptShare > 0 ? significant(row.Lift, 3) : std::string();
    case 6: return significant(row.Low * 100, 2);
    case 7: return significant(row.High * 100, 2);
    case 10: return significant(row.HoldRate * 100, 2);
    case 11: return significant(row.HoldKeptShare * 100, 2);
    case 12: return row.HoldKeptShare > 0 ? significant(row.HoldLift, 3) : std::string();
    case 13: return significant(row.HoldLow * 100, 2);
    case 14: return significant(row.HoldHigh * 100, 2);
    default: return {};
    }
}

std::string SurvivalCsvText(const std::vector<TSurvivalRow>& rows)
{
    const int columns = SurvivalColumnCount(rows);
    std::string text;
    for (int c = 0; c < columns; ++c) {
        if (c > 0) text += ';';
        text += stakes::CsvQuoted(Captions[c]);
    }
    text += "\r\n";
    for (const TSurvivalRow& row : rows) {
        text += stakes::CsvQuoted(row.PartText);
        for (int c = 1; c < columns; ++c) {
            text += ';';
            text += SurvivalCellText(row, c);
        }
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> SurvivalLogLines(const std::vector<TSurvivalRow>& rows)
{
    std::vector<std::string> lines{"### ЭФФЕКТИВНОСТЬ ФИЛЬТРОВ ###################################################################"};
    const int columns = SurvivalColumnCount(rows);
    std::string header;
    for (int c = 0; c < columns; ++c) {
        if (c > 0) header += '\t';
        header += Captions[c];
    }
    lines.push_back(header);
    for (const TSurvivalRow& row : rows) {
        std::string line;
        for (int c = 0; c < columns; ++c) {
            if (c > 0) line += '\t';
            line += SurvivalCellText(row, c);
        }
        lines.push_back(line);
    }
    return lines;
}

void SaveSurvival(const std::filesystem::path& file, const std::vector<TSurvivalRow>& rows)
{
    util::RewriteFile(file, SurvivalCsvText(rows));
}

std::vector<TSurvivalRow> LoadSurvival(const std::filesystem::path& file)
{
    std::vector<TSurvivalRow> rows;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return rows;
    const std::string text = util::TextFileToUtf8(util::ReadWholeFile(file));
    std::size_t pos = text.find('\n');   // the captions
    while (pos != std::string::npos && pos + 1 < text.size()) {
        const std::size_t start = pos + 1;
        pos = text.find('\n', start);
        std::string line = text.substr(start, pos == std::string::npos ? std::string::npos : pos - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> f = csvFields(line);
        if (f.size() != std::size_t(SurvivalColumns) && f.size() != std::size_t(SurvivalHoldoutColumns)) continue;
        TSurvivalRow row;
        row.PartText = f[0];
        row.Tests = int(number(f[1]));
        row.Survived = int(number(f[2]));
        if (f.size() == std::size_t(SurvivalHoldoutColumns)) {
            row.HoldTests = std::max(0, int(number(f[8])));
            row.HoldSurvived = int(number(f[9]));
            row.HoldRate = number(f[10]) / 100;
            row.HoldKeptShare = number(f[11]) / 100;
            row.HoldLift = number(f[12]);
            row.HoldLow = number(f[13]) / 100;
            row.HoldHigh = number(f[14]) / 100;
        }
        if (row.Tests < 0 || f[0].empty()) continue;
        row.Rate = number(f[3]) / 100;
        row.KeptShare = number(f[4]) / 100;
        row.Lift = number(f[5]);
        row.Low = number(f[6]) / 100;
        row.High = number(f[7]) / 100;
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace kv::scenario
