#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/stats/statgroup.h"
#include "core/stats/statitem.h"

namespace kv::shell {
class Shell;
}

namespace kv::stats {

class TStatList;

// The full-set distribution of one method: per value, how many of the 125970 combinations show
// it. File "Prefetchs/<program>_<code>.dfc": 12-byte records (4 x int16 keys, int32 count) in
// ascending key order, then a 12-byte trailer (smallest count, largest count, 0); little-endian.
struct TPrefetchRecord {
    std::array<int16_t, 4> Key{};
    int32_t Count = 0;
    bool operator==(const TPrefetchRecord&) const = default;
};
struct TPrefetchData {
    std::vector<TPrefetchRecord> Records;
    int32_t MinCount = 2147483647;
    int32_t MaxCount = 0;
};

// The file's bytes for sorted, summarised values.
std::string PrefetchBytes(const TStatDrawArray& sortedValues);
// Reads and checks a file's bytes: a size that is not a whole number of records with a trailer,
// a trailer that disagrees with the records or keys out of order mean a damaged or foreign file.
std::optional<TPrefetchData> ParsePrefetch(std::string_view bytes, TKeyOrder order = TKeyOrder::Keys);

// The prefetch folder of a data directory and its files.
// What a CreatePrefetchFiles pass does. Missing files are always created; existing ones only
// for the groups in Rebuild.
struct TPrefetchPass {
    bool Force = false;       // a batch run: works whatever the comparison setting says
    TGroupMask Rebuild = 0;   // groups whose files were computed with settings that changed
    bool Enabled = false;     // the PrefetchsEnabled setting; nothing happens without it unless forced
};

class TPrefetchCache {
public:
    static constexpr const char* FolderName = "Prefetchs";

    TPrefetchCache(std::filesystem::path dataDir, std::string programName = "Kvanta_8x20")
        : m_dataDir(std::move(dataDir)), m_program(std::move(programName)) {}

    std::filesystem::path PrefetchPath(std::string_view methodCode) const;

    // The full-set pass of one method, without file I/O.
    static TStatDrawArray ComputeDistribution(const TStatList& list, int method);

    // The distribution of a method for the statistics table: nothing unless the comparison is
    // enabled and the method has a full-set distribution; a missing, empty or damaged file is
    // (re)created. Failures are shown through the shell and give nothing.
    std::optional<TPrefetchData> Open(const TStatList& list, int method, bool enabled, shell::Shell& shell) const;
    // Computes and writes the file of a method. Failures are shown and give nothing; a partly
    // written file is removed.
    std::optional<TPrefetchData> Create(const TStatList& list, int method, shell::Shell& shell) const;
    // The files of every method with a full-set distribution, as the pass says. Returns the
    // number of files written.
    int CreatePrefetchFiles(const TStatList& list, const TPrefetchPass& pass, shell::Shell& shell) const;

    static constexpr TGroupMask AllGroups = (TGroupMask{1} << GroupCountTotal) - 1;

private:
    std::filesystem::path m_dataDir;
    std::string m_program;
};

} // namespace kv::stats
