#include "server/catalogstorage.h"

#include <string_view>

namespace kv::server {

std::string MailKey(const std::string& mail)
{
    std::string key = mail;
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

std::string TitleKey(const std::string& title)
{
    std::string_view t = title;
    while (!t.empty() && static_cast<unsigned char>(t.front()) <= ' ') t.remove_prefix(1);
    while (!t.empty() && static_cast<unsigned char>(t.back()) <= ' ') t.remove_suffix(1);
    std::string key;
    key.reserve(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        const auto c = static_cast<unsigned char>(t[i]);
        if (c >= 'A' && c <= 'Z') {
            key += static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xD0 && i + 1 < t.size()) {
            // Cyrillic capitals: U+0410..U+042F are D0 90..D0 AF, their small letters D0 B0..D0 BF
            // and D1 80..D1 8F; Ё (D0 81) goes to ё (D1 91).
            const auto n = static_cast<unsigned char>(t[++i]);
            if (n >= 0x90 && n <= 0x9F) key += {static_cast<char>(0xD0), static_cast<char>(n + 0x20)};
            else if (n >= 0xA0 && n <= 0xAF) key += {static_cast<char>(0xD1), static_cast<char>(n - 0x20)};
            else if (n == 0x81) key += {static_cast<char>(0xD1), static_cast<char>(0x91)};
            else key += {static_cast<char>(c), static_cast<char>(n)};
        } else {
            key += static_cast<char>(c);
        }
    }
    return key;
}

} // namespace kv::server
