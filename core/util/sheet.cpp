#include "core/util/sheet.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "core/util/cp1251.h"

namespace kv::util {

TExportSheet TExportSheet::FromTexts(std::string title, std::vector<std::string> captions,
                                     std::vector<std::vector<std::string>> rows, std::vector<bool> numericColumns)
{
    TExportSheet sheet;
    sheet.Title = std::move(title);
    sheet.Captions = std::move(captions);
    sheet.RowCount = static_cast<int>(rows.size());
    sheet.Row = [rows = std::move(rows), numeric = std::move(numericColumns)](int row, std::vector<TSheetCell>& cells) {
        const std::vector<std::string>& texts = rows[static_cast<std::size_t>(row)];
        for (std::size_t c = 0; c < cells.size() && c < texts.size(); ++c) {
            cells[c].Text = texts[c];
            cells[c].Numeric = c < numeric.size() && numeric[c];
        }
    };
    return sheet;
}

namespace {

// Days since 1.1.1970 of a proleptic Gregorian date (the civil-from-days inverse).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

std::optional<TShownNumber> ParseShownDate(std::string_view t)
{
    if (t.size() != 10 && t.size() != 16) return std::nullopt;
    const auto digits = [&t](std::size_t from, std::size_t count, int& out) {
        out = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (t[i] < '0' || t[i] > '9') return false;
            out = out * 10 + (t[i] - '0');
        }
        return true;
    };
    int day = 0, month = 0, year = 0, hour = 0, minute = 0;
    if (!digits(0, 2, day) || t[2] != '.' || !digits(3, 2, month) || t[5] != '.' || !digits(6, 4, year))
        return std::nullopt;
    if (t.size() == 16 && (t[10] != ' ' || !digits(11, 2, hour) || t[13] != ':' || !digits(14, 2, minute)))
        return std::nullopt;
    static constexpr int MonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1901 || month < 1 || month > 12 || day < 1 || day > MonthDays[month - 1] + (month == 2 && leap) ||
        hour > 23 || minute > 59)
        return std::nullopt;
    const double serial = static_cast<double>(daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30)) +
                          (hour * 60 + minute) / 1440.0;
    return TShownNumber{serial, t.size() == 16 ? "dd.mm.yyyy hh:mm" : "dd.mm.yyyy"};
}

std::optional<TShownNumber> ParseShownNumber(std::string_view text)
{
    std::size_t i = 0;
    const bool plus = !text.empty() && text[0] == '+';
    const bool minus = !text.empty() && text[0] == '-';
    if (plus || minus) ++i;
    const std::size_t intStart = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    const std::size_t intDigits = i - intStart;
    std::size_t decimals = 0;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        const std::size_t fracStart = ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        decimals = i - fracStart;
        if (decimals == 0) return std::nullopt;
    }
    const bool percent = i < text.size() && text[i] == '%';
    if (percent) ++i;
    // Beyond 15 digits a double no longer holds the text (long identifiers stay text).
    if (intDigits == 0 || i != text.size() || intDigits + decimals > 15) return std::nullopt;

    std::string plain(text.substr(0, percent ? text.size() - 1 : text.size()));
    for (char& ch : plain)
        if (ch == ',') ch = '.';
    TShownNumber n;
    // "e-2" rather than a division: 5.030% is the double nearest 0.0503, as the text says.
    if (percent) plain += "e-2";
    n.Value = std::strtod(plain.c_str(), nullptr);
    // Leading zeros ("05") are part of how the list shows the number.
    std::string body(text[intStart] == '0' && intDigits > 1 ? intDigits : 1, '0');
    if (decimals > 0) body.append(".").append(decimals, '0');
    if (percent) body.append("%");
    if (plus) {
        n.NumFormat.append("+").append(body).append(";-").append(body).append(";").append(body);
    } else {
        n.NumFormat = body;
    }
    return n;
}

std::string SafeSheetName(std::string_view name)
{
    std::string kept;
    for (char ch : name)
        if (std::string_view("[]:*?/\\").find(ch) == std::string_view::npos) kept += ch;
    kept = Utf8Left(kept, 31);
    while (!kept.empty() && kept.front() == '\'') kept.erase(kept.begin());
    while (!kept.empty() && kept.back() == '\'') kept.pop_back();
    return kept.empty() ? "Лист1" : kept;
}

} // namespace kv::util
