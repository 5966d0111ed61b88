#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kv::util {

// One argument of Format: an integer, a floating-point number or a text (UTF-8).
class FormatArg {
public:
    enum class Kind { Int, Float, Text };
    FormatArg(int v) : m_kind(Kind::Int), m_int(v) {}
    FormatArg(long v) : m_kind(Kind::Int), m_int(v) {}
    FormatArg(long long v) : m_kind(Kind::Int), m_int(v) {}
    FormatArg(unsigned v) : m_kind(Kind::Int), m_int(v) {}
    FormatArg(unsigned long v) : m_kind(Kind::Int), m_int(static_cast<int64_t>(v)) {}
    FormatArg(unsigned long long v) : m_kind(Kind::Int), m_int(static_cast<int64_t>(v)) {}
    FormatArg(double v) : m_kind(Kind::Float), m_float(v) {}
    FormatArg(long double v) : m_kind(Kind::Float), m_float(v) {}
    FormatArg(const char* v) : m_kind(Kind::Text), m_text(v ? v : "") {}
    FormatArg(std::string_view v) : m_kind(Kind::Text), m_text(v) {}
    FormatArg(const std::string& v) : m_kind(Kind::Text), m_text(v) {}

    Kind kind() const { return m_kind; }
    int64_t intValue() const { return m_int; }
    long double floatValue() const { return m_float; }
    std::string_view text() const { return m_text; }

private:
    Kind m_kind;
    int64_t m_int = 0;
    long double m_float = 0;
    std::string_view m_text;
};

// The decimal separator that Format and the number texts on screen use. The program sets it
// from the user's locale; settings files never depend on it.
char DecimalSeparator();
void SetDecimalSeparator(char sep);

// Delphi-notation formatting: %d %s %f %x %u %e %g %n %m %p, width, "-" justification,
// precision ("%.2d" pads with zeros, "%.3f" gives decimals), argument indexes ("%1:s"; a
// conversion without an index takes the argument after the one used last), "*" for width or
// precision from the arguments, and "%%". A malformed template or a missing or mismatched
// argument never throws: the offending specifier is copied to the result as it stands.
//
// Details a template author may meet:
// - Width and "%.Ns" count characters, not bytes. Type letters may be upper case.
// - Floating-point numbers are rounded as decimal text, half away from zero: the value is taken
//   at Delphi's precision (its shortest form cut to 15 significant digits for a double, 18 for
//   a wider long double), so "%.2f" of 2.675 is "2.68". "%f" "%n" "%m" default to 2 decimals
//   (18 at most) and turn to the "%e" form when the integer part has more digits than the
//   value carries (15 or 18); "%e" gives "1.23456789000000E+003" (15 digits by default); "%g" gives the
//   shorter of fixed and "1.5E20"; "%n" groups thousands with a plain space; NaN and infinities
//   show as "NAN", "INF", "-INF". A value that rounds to zero shows no minus sign.
// - "%d" "%u" "%x" take a float's truncated value; "%f" and the other float types take an
//   integer; "%s" takes a number as its decimal text. A negative number within 32 bits shows
//   in "%u" and "%x" as its 32-bit pattern ("%x" of -1 is "FFFFFFFF").
// - A specifier that breaks off ("%", "%5", "%1:", "%z") is copied up to the character that
//   broke it, and reading goes on from that character. One whose argument is missing or of the
//   wrong kind is copied whole, and the argument still counts as used.
// - The template takes the interface language (TrTemplate) before it is read.
std::string Format(std::string_view templ, std::initializer_list<FormatArg> args);

// The same with an explicit decimal separator (files, logs that must not follow the locale).
std::string FormatSep(char decimalSeparator, std::string_view templ,
                      std::initializer_list<FormatArg> args);

} // namespace kv::util
