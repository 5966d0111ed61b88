#include "core/online/onlinesystems.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "core/scenario/systemcombs.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::online {

namespace {

std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        out.push_back(text.substr(pos, end - pos));
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    return out;
}

std::filesystem::file_time_type fileTime(int64_t unixSeconds)
{
    const auto sys = std::chrono::system_clock::time_point(std::chrono::seconds(unixSeconds));
    return std::filesystem::file_time_type::clock::from_sys(sys);
}

} // namespace

TNormalisedSystem NormaliseSystemList(std::string_view text)
{
    TNormalisedSystem out;
    int lo = 99, hi = 0;
    for (const std::string_view line : lines(text)) {
        const std::optional<std::array<int, 8>> p = scenario::ParseSystemLine(line);
        if (!p) continue;
        std::string row;
        for (const int v : *p) {
            if (!row.empty()) row += ' ';
            row += util::Format("%.2d", {v});
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        if (!out.Text.empty()) out.Text += "\r\n";
        out.Text += row;
        ++out.Count;
    }
    out.Nums = out.Count == 0 ? 0 : hi - lo + 1;
    return out;
}

std::optional<TSystemProblem> ValidateSystem(const tSystemData& d)
{
    const auto blank = [](const std::string& s) { return s.find_first_not_of(" \t\r\n") == std::string::npos; };
    if (blank(d.Title)) return TSystemProblem{TSystemField::Title, "Название системы должно быть указано обязательно!"};
    if (d.Nums < 9 || d.Nums > 20)
        return TSystemProblem{TSystemField::Nums, "Указано недопустмое количество используемых чисел!"};
    if (d.Olap < 0 || d.Olap > 7) return TSystemProblem{TSystemField::Olap, "Указан недопустмый размер блока!"};
    if (blank(d.AuthorName)) return TSystemProblem{TSystemField::Author, "Имя автора должно быть указано обязательно!"};
    if (blank(d.Descr)) return TSystemProblem{TSystemField::Descr, "Описание системы должно быть указано обязательно!"};
    if (blank(d.Combs)) return TSystemProblem{TSystemField::Combs, "Содержимое системы должно быть указано обязательно!"};
    return std::nullopt;
}

std::filesystem::path LocalSystemFile(const std::filesystem::path& folder, const tSystemInfo& info)
{
    return folder / scenario::SystemFileName(info.Nums, info.Olap, info.Id);
}

bool LocalSystemCurrent(const std::filesystem::path& folder, const tSystemInfo& info)
{
    std::error_code ec;
    const auto t = std::filesystem::last_write_time(LocalSystemFile(folder, info), ec);
    return !ec && t == fileTime(info.Created);
}

std::filesystem::path SaveDownloadedSystem(const std::filesystem::path& folder, const tSystemInfo& info,
                                           std::string_view combs)
{
    std::vector<std::string_view> rows = lines(combs);
    while (!rows.empty() && rows.back().find_first_not_of(" \t") == std::string_view::npos) rows.pop_back();
    if (static_cast<int64_t>(rows.size()) != info.CSize)
        throw Error(util::Format("Количество скачанных комбинаций ( %d ) отличается от ожидаемого значения ( %d )",
                                 {static_cast<int64_t>(rows.size()), static_cast<int64_t>(info.CSize)}));
    std::string body;
    for (const std::string_view r : rows) {
        body += util::Utf8ToCp1251(r);
        body += "\r\n";
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw Error(util::Format("Не удалось создать папку \"%s\": %s", {folder.string(), ec.message()}));
    const std::filesystem::path file = LocalSystemFile(folder, info);
    util::RewriteFile(file, body);
    std::filesystem::last_write_time(file, fileTime(info.Created), ec);
    // At most one file per number of positions: play takes the first one it finds.
    const std::string prefix = util::Format("%d-%.2d-", {8, info.Nums});
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (e.path() != file && name.rfind(prefix, 0) == 0 && e.path().extension() == ".dat")
            std::filesystem::remove(e.path(), ec);
    }
    return file;
}

} // namespace kv::online
