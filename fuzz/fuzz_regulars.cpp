// The regular stakes file: records are read up to the first one out of range, shown, advanced
// and written back.
#include "core/stakes/regulars.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const game::TDrawsArray draws(1, game::TDraw{5, {2, 4, 6, 8, 10, 12, 14, 16}, 1, 0, {}});
    stakes::TRegularsFileContent content = stakes::ParseTablesFile(fuzz::Bytes(data, size));
    for (stakes::TRegularRecord& r : content.Rows) {
        KV_FUZZ_CHECK(r.IsValid());
        for (int c = 0; c < stakes::RegularColumnCount; ++c) (void)stakes::RegularCellText(r, c);
        const int32_t before = r.Count;
        stakes::AdvanceRegular(r, draws, 0);
        KV_FUZZ_CHECK(r.Count >= before);
        KV_FUZZ_CHECK(r.IsValid());
    }
    const stakes::TRegularsFileContent back = stakes::ParseTablesFile(stakes::RegularsFileBytes(content.Rows));
    KV_FUZZ_CHECK(back.BadRecord < 0 && back.Rows.size() == content.Rows.size());
    return 0;
}
