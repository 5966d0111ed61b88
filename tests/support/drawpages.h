#pragma once
#include <string>

#include "core/game/types.h"

namespace kv::test {

// Pages in the operator's format, as the tests and benchmarks serve them: markers in mixed
// case, "&nbsp;" filler, the extra number's element with class="extra", newest draw first.
// The draw list of one page (UTF-8; the caller picks the draws).
std::string DrawSectionHtml(const game::TDraw& draw);
std::string OperatorPage(const game::TDrawsArray& newestFirst);
// The page the site gives for first..last: the draws of `site` (ascending) with those numbers.
std::string OperatorPageFor(const game::TDrawsArray& site, int first, int last);

} // namespace kv::test
