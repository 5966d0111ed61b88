#pragma once
#include <string>

namespace kv::test {

// Pages of the public proxy list as the automatic search reads them: each row hides its address
// in a script (the first half reversed, the second as "\x" escapes of its Base64 form) and its
// port less the page's offset, which a hidden element carries.
std::string ProxyRow(const std::string& firstHalf, const std::string& secondHalf, const std::string& port);
std::string ProxyListPage(const std::string& rows, int portOffset = 0);
// "\x.." escapes of the Base64 form of text.
std::string HiddenText(const std::string& text);

} // namespace kv::test
