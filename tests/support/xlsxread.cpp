#include "tests/support/xlsxread.h"

#include <cstdio>
#include <regex>
#include <stdexcept>
#include <vector>

namespace kv::test {

namespace {

std::string unzipMember(const std::filesystem::path& file, const std::string& member)
{
    const std::string command = "unzip -p '" + file.string() + "' " + member;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run unzip");
    std::string out;
    char buf[65536];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    if (pclose(pipe) != 0) throw std::runtime_error("unzip failed on " + member);
    return out;
}

std::string unescape(std::string s)
{
    for (const auto& [from, to] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}}) {
        for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + 1)) s.replace(p, std::string(from).size(), to);
    }
    return s;
}

} // namespace

std::string CellRef(int row, int column)
{
    std::string letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row + 1);
}

XlsxSheet ReadXlsx(const std::filesystem::path& file)
{
    XlsxSheet sheet;
    sheet.Xml = unzipMember(file, "xl/worksheets/sheet1.xml");
    const std::string book = unzipMember(file, "xl/workbook.xml");
    std::smatch m;
    if (std::regex_search(book, m, std::regex(R"x(<sheet name="([^"]*)")x"))) sheet.Name = unescape(m[1]);

    // Style index -> fill colour: the fills in order, then each cell format's fillId.
    const std::string styles = unzipMember(file, "xl/styles.xml");
    std::vector<std::string> fills;
    const std::regex fill(R"x(<fill>(.*?)</fill>)x");
    for (auto it = std::sregex_iterator(styles.begin(), styles.end(), fill); it != std::sregex_iterator(); ++it) {
        std::smatch c;
        const std::string body = (*it)[1];
        fills.push_back(std::regex_search(body, c, std::regex(R"x(fgColor rgb="FF([0-9A-F]{6})")x")) ? c[1].str() : "");
    }
    std::vector<std::string> xfFills;
    if (std::regex_search(styles, m, std::regex(R"x(<cellXfs[^>]*>(.*?)</cellXfs>)x"))) {
        const std::string xfs = m[1];
        const std::regex xf(R"x(<xf [^>]*fillId="(\d+)")x");
        for (auto it = std::sregex_iterator(xfs.begin(), xfs.end(), xf); it != std::sregex_iterator(); ++it)
            xfFills.push_back(fills.at(std::stoul((*it)[1])));
    }

    const std::regex cell(R"x(<c r="([A-Z]+[0-9]+)"(?: s="(\d+)")?(?: t="(\w+)")?(?:/>|>(.*?)</c>))x");
    for (auto it = std::sregex_iterator(sheet.Xml.begin(), sheet.Xml.end(), cell); it != std::sregex_iterator(); ++it) {
        XlsxCell c;
        const std::string body = (*it)[4];
        std::smatch v;
        if ((*it)[3] == "inlineStr" && std::regex_search(body, v, std::regex(R"x(<t[^>]*>(.*?)</t>)x"))) c.Text = unescape(v[1]);
        else if (std::regex_search(body, v, std::regex(R"x(<v>(.*?)</v>)x"))) c.Number = std::stod(v[1]);
        if ((*it)[2].matched) c.Fill = xfFills.at(std::stoul((*it)[2]));
        sheet.Cells[(*it)[1]] = c;
    }
    return sheet;
}

} // namespace kv::test
