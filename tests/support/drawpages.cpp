#include "tests/support/drawpages.h"

#include "core/util/format.h"

namespace kv::test {

std::string DrawSectionHtml(const game::TDraw& d)
{
    std::string s = util::Format("<DIV class=\"elem\">\n  <div class=\"Draw_Date\" title=\"%s\">%s</div>\n"
                                 "  <div class=\"draw\"><A HREF=\"/zarvik/archive/%d\">%d</a></div>\n"
                                 "  <div class=\"container cleared\">\n    <div class=\"numbers\">",
                                 {d.DateText(), d.DateText().substr(0, 10), d.DrawNo, d.DrawNo});
    for (std::size_t i = 0; i < d.Nums.size(); ++i)
        s += util::Format(i % 2 ? "<B>&nbsp;%d</B>" : "<b>%d&NBSP;</b>", {static_cast<int>(d.Nums[i])});
    s += util::Format("<b class=\"extra\">%d</b></div>\n  </div>\n  <DIV class=\"controls\"><a href=\"#\">x</a></div>\n</div>\n",
                      {static_cast<int>(d.Extra)});
    return s;
}

std::string OperatorPage(const game::TDrawsArray& newestFirst)
{
    std::string page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Архив тиражей</title></head><body>\n"
                       "<div class=\"header\">Лотерея</div>\n<Div Class=\"data drawings_data\">\n";
    for (const game::TDraw& d : newestFirst) page += DrawSectionHtml(d);
    page += "</div>\n<div class=\"CONTENT_DECOR\"></div>\n</body></html>\n";
    return page;
}

std::string OperatorPageFor(const game::TDrawsArray& site, int first, int last)
{
    game::TDrawsArray picked;
    for (auto it = site.rbegin(); it != site.rend(); ++it)
        if (it->DrawNo >= first && it->DrawNo <= last) picked.push_back(*it);
    return OperatorPage(picked);
}

} // namespace kv::test
