#include "tests/support/proxypages.h"

#include "core/util/format.h"

namespace kv::test {

std::string HiddenText(const std::string& text)
{
    static const char* const b64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string enc;
    unsigned acc = 0;
    int bits = 0;
    for (const unsigned char c : text) {
        acc = (acc << 8) | c;
        bits += 8;
        while (bits >= 6) {
            bits -= 6;
            enc += b64[(acc >> bits) & 63u];
        }
    }
    if (bits > 0) enc += b64[(acc << (6 - bits)) & 63u];
    while (enc.size() % 4) enc += '=';
    std::string out;
    for (const unsigned char c : enc) out += util::Format("\\x%.2x", {static_cast<int>(c)});
    return out;
}

std::string ProxyRow(const std::string& firstHalf, const std::string& secondHalf, const std::string& port)
{
    const std::string reversed(firstHalf.rbegin(), firstHalf.rend());
    return "<tr><td><script>var a = '" + reversed + "'.split('').reverse().join(''); var b = atob('" +
           HiddenText(secondHalf) + "'); var pp = (" + port + " - 0); document.write(a+b+':'+pp);</script></td>" +
           "<td>HTTP</td></tr>\n";
}

std::string ProxyListPage(const std::string& rows, int portOffset)
{
    return "<html><div style=\"display:none\" data-port=\"" + std::to_string(portOffset) +
           "\"></div><table><thead><tr><th>IP</th></tr></thead><tbody>\n" + rows + "</tbody></table></html>";
}

} // namespace kv::test
