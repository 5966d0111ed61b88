// The ratings file: rows are read up to the first one that is not a rating, shown, sorted by
// every column, exported and written back to the same bytes.
#include "core/stakes/ratings.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    stakes::TRatingsFileContent content = stakes::ParseRatingsFile(fuzz::Bytes(data, size));
    for (const stakes::TRatingRecord& r : content.Rows) {
        KV_FUZZ_CHECK(r.IsConsistent());
        for (int c = 0; c < 24; ++c)
            for (int mode = 0; mode < 3; ++mode) (void)stakes::RatingCellText(r, c, mode);
    }
    (void)stakes::RatingsCsvText(content.Rows);
    const std::vector<int> all = [&] {
        std::vector<int> v;
        for (std::size_t i = 0; i < content.Rows.size(); ++i) v.push_back(static_cast<int>(i));
        return v;
    }();
    (void)stakes::RatingsOverlapChart(content.Rows, all);
    stakes::TRatings ratings("unused.lrt");
    ratings.Assign(content.Rows);
    for (const stakes::TRatingRecord& r : content.Rows)
        for (int h = -1; h <= 9; ++h) ratings.AddRating(r.Name, h, r.ProfitSum);
    for (int c = 0; c < 24; ++c) stakes::SortRatingsArray(content.Rows, c, c % 2 == 0);
    const stakes::TRatingsFileContent back = stakes::ParseRatingsFile(stakes::RatingsFileBytes(content.Rows));
    KV_FUZZ_CHECK(back.BadRecord < 0 && back.Rows.size() == content.Rows.size());
    return 0;
}
