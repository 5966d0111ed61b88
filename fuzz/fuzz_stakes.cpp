// The stakes file: opened with whatever bytes it holds, repaired at start-up, checked against a
// small archive, rated, charted and shown, with no hang, overflow or memory fault. The file lives
// in a private directory under /dev/shm (memory), one per process.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/stakes/ratings.h"
#include "core/stakes/stakecharts.h"
#include "core/stakes/stakecheck.h"
#include "core/stakes/stakecommands.h"
#include "core/stakes/stakegrid.h"
#include "core/stakes/stakesfile.h"
#include "core/stats/config.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const std::filesystem::path dir = [] {
        const std::filesystem::path d = "/dev/shm/kvfuzz-stakes-" + std::to_string(::getpid());
        std::filesystem::create_directories(d);
        return d;
    }();
    static const game::TDrawsArray draws = [] {
        game::TDrawsArray a(4);
        for (int i = 0; i < 4; ++i) {
            a[static_cast<std::size_t>(i)].DrawNo = i + 1;
            a[static_cast<std::size_t>(i)].Nums = {1, 3, 5, 7, 9, 11, 13, static_cast<uint8_t>(15 + i)};
            a[static_cast<std::size_t>(i)].Extra = 2;
        }
        return a;
    }();
    static const stakes::TPrizeTable prizes = [] {
        stats::TConfigData config;
        config.Cost = util::Currency::FromUnits(10);
        for (int h = 0; h <= 8; ++h) config.Profits.push_back({static_cast<uint8_t>(h), util::Currency::FromUnits(int64_t{h} * h * 100)});
        return stakes::TPrizeTable(config);
    }();

    const std::filesystem::path path = dir / stakes::TStakesFile::FileName;
    std::filesystem::remove(dir / (std::string(stakes::TStakesFile::FileName) + ".bak"));
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    fuzz::QuietShell shell;
    stakes::TStakesFile file;
    file.Open(path);
    stakes::DiscardOutdatedStakes(file, shell);
    KV_FUZZ_CHECK(file.Size() % stakes::TStakesFile::RecordSize == 0);

    stakes::TRatings ratings(dir / "ratings.lrt");
    stakes::TCheckSettings settings;
    settings.Draws = &draws;
    settings.Prizes = prizes;
    settings.OnChecked = [&](const stakes::TStakeRecord& r) {
        KV_FUZZ_CHECK(!r.IsDamaged());
        ratings.AddRating(r);
    };
    stakes::CheckStakes(file, settings, shell);
    for (int i = 0; i < file.RecordCount(); ++i) {
        const stakes::TStakeRecord r = file.ReadStake(shell, i);
        for (int c = 0; c < stakes::StakeGridColumnCount; ++c) {
            (void)stakes::StakeCellText(r, c);
            (void)stakes::StakeCellNumbers(r, c);
            (void)stakes::StakeResultColor(r, c);
        }
        if (r.IsStake() && !r.IsDamaged()) (void)stakes::StakeLogLine(r, std::tm{});
    }
    stakes::StakesGraphDraws(file, shell);
    std::vector<std::string> names;
    for (const stakes::TRatingRecord& r : ratings.Items()) names.push_back(r.Name);
    stakes::StakesGraphOverlap(file, names, shell);
    stakes::StakesGraphProfits(file, names, shell);
    file.Close();
    return 0;
}
