#include "server/demoseed.h"

#include "server/catalogservice.h"

#include <bit>
#include <cstdint>
#include <cstdio>

namespace kv::server {

namespace {

std::vector<std::uint32_t> subsetsOf8(int nums)
{
    std::vector<std::uint32_t> out;
    for (std::uint32_t m = 0; m < (1u << nums); ++m)
        if (std::popcount(m) == 8) out.push_back(m);
    return out;
}

std::string lineOf(std::uint32_t mask)
{
    std::string line;
    for (int p = 0; p < 20; ++p)
        if (mask & (1u << p)) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%02d", p + 1);
            if (!line.empty()) line += ' ';
            line += buf;
        }
    return line;
}

} // namespace

std::vector<std::string> GreedyCoveringSystem(int nums, int olap)
{
    const std::vector<std::uint32_t> all = subsetsOf8(nums);
    std::vector<bool> covered(all.size(), false);
    std::size_t left = all.size();
    std::vector<std::string> lines;
    while (left > 0) {
        std::size_t best = 0, bestGain = 0;
        for (std::size_t b = 0; b < all.size(); ++b) {
            std::size_t gain = 0;
            for (std::size_t t = 0; t < all.size(); ++t)
                if (!covered[t] && std::popcount(all[b] & all[t]) >= olap) ++gain;
            if (gain > bestGain) {
                bestGain = gain;
                best = b;
            }
        }
        for (std::size_t t = 0; t < all.size(); ++t)
            if (!covered[t] && std::popcount(all[best] & all[t]) >= olap) {
                covered[t] = true;
                --left;
            }
        lines.push_back(lineOf(all[best]));
    }
    return lines;
}

bool SeedDemoCatalogue(TCatalogStorage& storage, std::int64_t now)
{
    if (!storage.ListScripts(TScriptFilter::All, "", now).Entries.empty() || !storage.ListSystems(8, 20).Entries.empty())
        return false;
    const std::string key = "demo-catalogue-key";
    const struct {
        const char* title;
        const char* descr;
        const char* script;
    } scripts[] = {
        {"Числа и суммы", "Числа за 10 тиражей и суммы за 20 тиражей, ставка на все оставшиеся комбинации.",
         "FULL#ALL#NEX|TSD1#NUMS:10#LNO:#SF:1|BMF8#SUMS:20#WMV:5#SV:3| | | | | |Числа и суммы"},
        {"Случайные пять", "Пять случайных комбинаций после отбора по числам.",
         "EXCL:5#RAND|TSD1#NUMS:10#LMV:3#SF:1| | | | | | |Случайные пять"},
        {"Все комбинации", "Ставка на случайную комбинацию полного набора.", "FULL:0#RAND| | | | | | | |Идея"},
    };
    for (const auto& s : scripts) {
        TScriptWrite w;
        w.AuthorName = "Демонстрация";
        w.AuthorMail = "demo@kvanta.local";
        w.Lcid = 1049;
        w.AppGuid = "Kvanta_8x20";
        w.AppVer = "0.1.0";
        w.Universal = true;
        w.Title = s.title;
        w.Descr = s.descr;
        w.Script = s.script;
        PutScript(storage, w, key, now);
    }
    for (int nums = 9; nums <= 12; ++nums) {
        const int olap = nums <= 10 ? 7 : 6;
        const std::vector<std::string> lines = GreedyCoveringSystem(nums, olap);
        TSystemWrite w;
        w.Info.Nums = nums;
        w.Info.Olap = olap;
        w.Info.CSize = static_cast<int>(lines.size());
        w.Info.Title = "Покрытие " + std::to_string(nums) + " чисел, " + std::to_string(olap) + " из 8";
        w.Info.Descr = "Жадное покрытие: если все 8 выпавших чисел среди " + std::to_string(nums) +
                       " выбранных, одна из комбинаций угадывает не меньше " + std::to_string(olap) + ".";
        w.Info.AuthorName = "Демонстрация";
        w.Info.AuthorMail = "demo@kvanta.local";
        w.Lcid = 1049;
        w.AppGuid = "Kvanta_8x20";
        w.AppVer = "0.1.0";
        for (const std::string& l : lines) w.Combs += l + "\r\n";
        PutSystem(storage, w, key, now);
    }
    return true;
}

} // namespace kv::server
