#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/game/types.h"
#include "core/stakes/stakerecord.h"
#include "core/util/binio.h"
#include "tests/support/support.h"

namespace kv::test {

// A stake as the commands make it, without a prize table (Profit 0 until checked).
inline stakes::TStakeRecord Stake(int32_t drawNo, game::TComb nums, const std::string& comment = "c",
                                  uint8_t origin = stakes::OriginManual)
{
    stakes::TStakeRecord r;
    r.Version = 2;
    r.Origin = origin;
    r.DrawNo = drawNo;
    r.SampleSize = 100;
    r.Stake.Count = 8;
    r.Stake.Nums = nums;
    r.Matched.Count = -1;
    r.Comment = comment;
    return r;
}

// A checked stake with the given hit count (numbers are not consistent; only the count matters).
inline stakes::TStakeRecord Checked(int32_t drawNo, int hits, const std::string& comment = "c")
{
    stakes::TStakeRecord r = Stake(drawNo, {1, 2, 3, 4, 5, 6, 7, 8}, comment);
    r.Checked = 1;
    r.Matched.Count = hits;
    for (int i = 0; i < hits; ++i) r.Matched.Nums[i] = static_cast<uint8_t>(i + 1);
    return r;
}

// The bytes of one record of any of the stake files (stake, rating, regular).
template <class Record>
std::string RecordBytes(const Record& r)
{
    std::string b(Record::RecordSize, '\0');
    r.Write(reinterpret_cast<uint8_t*>(b.data()));
    return b;
}

// The names of rating or regular rows, in order.
template <class Rows>
std::vector<std::string> Names(const Rows& rows)
{
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.Name);
    return out;
}

inline std::string FileOf(const std::vector<stakes::TStakeRecord>& records)
{
    std::string bytes;
    for (const auto& r : records) bytes += RecordBytes(r);
    return bytes;
}

// The records of a file's bytes, decoded.
inline std::vector<stakes::TStakeRecord> RecordsOf(const std::string& bytes)
{
    std::vector<stakes::TStakeRecord> out;
    for (std::size_t at = 0; at + stakes::TStakeRecord::RecordSize <= bytes.size(); at += stakes::TStakeRecord::RecordSize) {
        stakes::TStakeRecord r;
        r.Read(reinterpret_cast<const uint8_t*>(bytes.data() + at));
        out.push_back(r);
    }
    return out;
}

inline std::vector<int32_t> DrawNosOf(const std::string& bytes)
{
    std::vector<int32_t> out;
    for (const auto& r : RecordsOf(bytes)) out.push_back(r.DrawNo);
    return out;
}

} // namespace kv::test
