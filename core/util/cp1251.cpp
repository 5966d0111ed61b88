#include "core/util/cp1251.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace kv::util {

namespace {

// The length of the UTF-8 sequence that starts at p, or of its well-formed beginning when it is
// broken: a lead byte followed by fewer continuation bytes than it announces counts as one unit
// with those bytes, and a byte that cannot start a sequence counts alone. So a damaged
// character never swallows the characters after it.
std::size_t sequenceLength(const char* p, std::size_t left)
{
    const auto lead = static_cast<unsigned char>(p[0]);
    const std::size_t expected = lead >= 0xC2 && lead <= 0xDF   ? 2
                                 : lead >= 0xE0 && lead <= 0xEF ? 3
                                 : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                : 1;
    std::size_t len = 1;
    while (len < expected && len < left && (static_cast<unsigned char>(p[len]) & 0xC0) == 0x80)
        ++len;
    return len;
}

// One converter per direction and thread, opened on first use: records with short strings are
// converted by the hundred thousand, and iconv_open costs far more than a short conversion.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv_open ") + from + " -> " + to + " failed");
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Puts "?" for every input unit that is invalid or has no form in the target code page, so
    // no text ever fails to convert. fromUtf8 tells how long such a unit is.
    std::string run(std::string_view in, bool fromUtf8)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // a previous failure may leave state
        std::string out(in.size() * 3 + 4, '\0');
        char* inp = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outp = out.data();
        std::size_t outLeft = out.size();
        auto grow = [&] {
            const std::size_t used = out.size() - outLeft;
            out.resize(out.size() * 2);
            outp = out.data() + used;
            outLeft = out.size() - used;
        };
        while (inLeft > 0) {
            if (iconv(m_cd, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG) {
                grow();
                continue;
            }
            // EILSEQ or EINVAL: replace the offending unit.
            const std::size_t skip = fromUtf8 ? sequenceLength(inp, inLeft) : 1;
            inp += skip;
            inLeft -= skip;
            if (outLeft < 1) grow();
            *outp++ = '?';
            --outLeft;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t m_cd;
};

bool isAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

} // namespace

std::string Cp1251ToUtf8(std::string_view cp1251)
{
    if (isAscii(cp1251)) return std::string(cp1251);
    thread_local Converter conv("UTF-8", "CP1251");
    std::string out;
    out.reserve(cp1251.size() * 2);
    // 0x98 is unassigned in CP1251 and glibc refuses it; show it as U+FFFD.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= cp1251.size(); ++i) {
        if (i == cp1251.size() || static_cast<unsigned char>(cp1251[i]) == 0x98) {
            out += conv.run(cp1251.substr(start, i - start), false);
            if (i < cp1251.size()) out += "\xEF\xBF\xBD";
            start = i + 1;
        }
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8)
{
    if (isAscii(utf8)) return std::string(utf8);
    thread_local Converter conv("CP1251", "UTF-8");
    static constexpr std::string_view Replacement = "\xEF\xBF\xBD";
    std::string out;
    for (;;) {
        const std::size_t at = utf8.find(Replacement);
        out += conv.run(utf8.substr(0, at), true);
        if (at == std::string_view::npos) return out;
        out += '\x98';
        utf8.remove_prefix(at + Replacement.size());
    }
}

bool IsValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        unsigned char lo = 0x80, hi = 0xBF;   // the allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) len = 2;
        else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;         // overlong
            if (c == 0xED) hi = 0x9F;         // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (s.size() - i < len) return false;
        const auto second = static_cast<unsigned char>(s[i + 1]);
        if (second < lo || second > hi) return false;
        for (std::size_t k = 2; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

std::string TextFileToUtf8(std::string_view bytes)
{
    static constexpr std::string_view Bom = "\xEF\xBB\xBF";
    // A mark followed by bytes that are not UTF-8 after all: the rest is read as CP1251, which
    // takes every byte and gives each back on the next write.
    if (bytes.starts_with(Bom)) bytes.remove_prefix(Bom.size());
    if (!isAscii(bytes) && IsValidUtf8(bytes)) return std::string(bytes);
    return Cp1251ToUtf8(bytes);
}

std::string Utf8ToCp1251Cut(std::string_view utf8, std::size_t maxBytes)
{
    std::string s = Utf8ToCp1251(utf8);
    if (s.size() > maxBytes) s.resize(maxBytes);
    return s;
}

std::string Utf8Left(std::string_view utf8, std::size_t maxChars)
{
    std::size_t i = 0;
    for (std::size_t chars = 0; chars < maxChars && i < utf8.size(); ++chars)
        i += sequenceLength(utf8.data() + i, utf8.size() - i);
    return std::string(utf8.substr(0, i));
}

} // namespace kv::util
