// Scenario files and their step lines with filter texts: every line's header, fields, row texts
// and filters read without a fault, and a filter text written back reads to the same item.
#include "core/filters/filteritem.h"
#include "core/scenario/scenario.h"
#include "core/scenario/scriptheader.h"
#include "core/stats/statlist.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const stats::TStatList list = [] {
        static game::TDrawsArray draws;
        stats::TStatList l;
        l.SetDraws(&draws);
        l.BuildMethodList();
        return l;
    }();
    const std::vector<std::string> lines = scenario::ScenarioFromBytes(fuzz::Bytes(data, size));
    for (const std::string& line : lines) {
        const scenario::TScriptHeader h = scenario::ParseScriptHeader(scenario::StepField(line, 1));
        (void)scenario::ScriptHeaderCaption(h);
        KV_FUZZ_CHECK(scenario::ParseScriptHeader(scenario::ScriptHeaderToText(h)) == h);
        const scenario::TStepFields fields = scenario::ReadStepLine(line, 5);
        (void)scenario::WriteStepLine(fields);
        (void)scenario::ScenarioRowTexts(line, list);
        for (const std::string& text : fields.Filters) {
            const filters::TFilterItem item = filters::TextToFilterItem(text, list);
            const std::string written = filters::FilterItemToText(item, list);
            KV_FUZZ_CHECK(filters::FilterItemToText(filters::TextToFilterItem(written, list), list) == written);
        }
    }
    (void)scenario::ScenarioToBytes(lines);
    return 0;
}
