#include "server/catalogservice.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <stdexcept>

#include "core/util/catalogwire.h"

namespace kv::server {

namespace {

using util::TTaggedRow;

// A request the server turns down; its text goes into the "<error>" row.
class Refused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr std::size_t ShortText = 256;       // names, e-mails, program names and versions, keys
constexpr std::size_t TitleBytes = 1024;     // a title of 64 letters takes at most 256 bytes
constexpr std::size_t NotesBytes = 4096;
constexpr std::size_t DescrBytes = 64 * 1024;
constexpr std::size_t UrlBytes = 2048;
constexpr std::size_t BodyTextBytes = 2 * 1024 * 1024;  // a scenario or a system's list

std::string quoted(const char* name) { return std::string("\"") + name + "\""; }

// The fields of one request with the checks every handler needs.
class Request {
public:
    explicit Request(std::string_view body) : m_fields(util::FormDecode(body)) {}

    std::int64_t Int(const char* name, std::int64_t min, std::int64_t max) const
    {
        const std::optional<std::string> v = util::FormValue(m_fields, name);
        std::int64_t n = 0;
        if (!v || !parseInt(*v, n) || n < min || n > max)
            throw Refused("Недопустимое значение поля " + quoted(name));
        return n;
    }
    std::int64_t IntOr(const char* name, std::int64_t min, std::int64_t max, std::int64_t absent) const
    {
        return util::FormValue(m_fields, name) ? Int(name, min, max) : absent;
    }
    // An escaped text (escapes undone) or, with `escaped` false, the text as sent. `plain`
    // texts go into answers between tags as they are, so they may not hold "<" or ">".
    std::string Text(const char* name, std::size_t maxBytes, bool plain, bool escaped = true) const
    {
        const std::optional<std::string> raw = util::FormValue(m_fields, name);
        if (!raw) return {};
        std::string v = escaped ? util::UnescapeCatalogText(*raw) : *raw;
        if (v.size() > maxBytes) throw Refused("Слишком длинное значение поля " + quoted(name));
        if (v.find('\0') != std::string::npos || !util::IsValidUtf8(v) ||
            (plain && v.find_first_of("<>") != std::string::npos))
            throw Refused("Недопустимые символы в поле " + quoted(name));
        return v;
    }
    std::string Required(const char* name, std::size_t maxBytes, bool plain, const char* missing) const
    {
        std::string v = Text(name, maxBytes, plain);
        if (trimmed(v).empty()) throw Refused(missing);
        return v;
    }
    // The user behind a change: e-mail and the secret key the program made for him.
    std::string Mail() const { return Required("cl_mail", ShortText, true, "Не указан адрес электронной почты автора"); }
    std::string Key() const
    {
        return Required("cl_key", ShortText, true, "Не указан ключ пользователя: обновите программу");
    }

    static std::string_view trimmed(std::string_view s)
    {
        while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
        while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
        return s;
    }

private:
    static bool parseInt(std::string_view s, std::int64_t& out)
    {
        bool negative = false;
        if (!s.empty() && s.front() == '-') {
            negative = true;
            s.remove_prefix(1);
        }
        if (s.empty() || s.size() > 12) return false;
        std::int64_t v = 0;
        for (const char c : s) {
            if (c < '0' || c > '9') return false;
            v = v * 10 + (c - '0');
        }
        out = negative ? -v : v;
        return true;
    }
    util::TFormFields m_fields;
};

std::string num(std::int64_t v) { return std::to_string(v); }

std::string writeFailure(const TWriteResult& r, std::int64_t id)
{
    using S = TWriteResult::Status;
    switch (r.State) {
    case S::Done: break;
    case S::NotFound: return "Запись #" + num(id) + " не найдена";
    case S::NotOwner: return "Изменять и удалять можно только свои записи";
    case S::KeyMismatch:
        return "Ключ пользователя не совпадает с ключом владельца этого адреса электронной почты: изменения запрещены";
    case S::TitleTaken: return "Сценарий с таким названием уже существует";
    }
    return {};
}

// A system's list: every line 8 distinct positions 1..nums; the number of lines must be csize.
void checkSystemList(const std::string& list, int nums, std::int64_t csize)
{
    std::int64_t lines = 0;
    std::size_t pos = 0;
    while (pos < list.size()) {
        std::size_t end = list.find('\n', pos);
        if (end == std::string::npos) end = list.size();
        std::string_view line = std::string_view(list).substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (Request::trimmed(line).empty()) continue;
        const std::vector<std::string_view> words = util::SplitSystemWords(line);
        bool ok = words.size() == 8;
        unsigned used = 0;
        for (std::size_t k = 0; ok && k < words.size(); ++k) {
            int p = 0;
            for (const char c : words[k]) {
                if (c < '0' || c > '9' || p > 20) ok = false;
                else p = p * 10 + (c - '0');
            }
            ok = ok && p >= 1 && p <= nums && !(used & (1u << p));
            if (ok) used |= 1u << p;
        }
        if (!ok) throw Refused("Строка " + num(lines + 1) + " списка комбинаций системы недопустима");
        ++lines;
    }
    if (lines != csize)
        throw Refused("Количество комбинаций ( " + num(lines) + " ) отличается от указанного ( " + num(csize) + " )");
}

} // namespace

const std::vector<std::string>& TCatalogService::Paths()
{
    static const std::vector<std::string> paths = {
        "/scripts/scr_getlist.php",  "/scripts/scr_getdata.php",  "/scripts/scr_setrate.php",
        "/scripts/scr_chktitle.php", "/scripts/scr_putscript.php", "/scripts/scr_getrates.php",
        "/scripts/sys_getlist.php",  "/scripts/sys_getdata.php",  "/scripts/sys_putdata.php",
        VersionPath,
    };
    return paths;
}

TCatalogService::TCatalogService(TCatalogStorage& storage, std::function<std::int64_t()> clock, TVersionInfo version)
    : m_storage(storage), m_clock(std::move(clock)), m_version(std::move(version))
{
    if (!m_clock)
        m_clock = [] {
            return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
        };
}

TCatalogAnswer TCatalogService::Handle(std::string_view path, std::string_view body)
{
    using util::EncodeBase64;
    using util::FormatUtcTime;
    const std::string p(path);
    const Request q(body);
    const std::int64_t now = m_clock();
    try {
        if (p == "/scripts/scr_getlist.php") {
            const auto filter = static_cast<TScriptFilter>(q.Int("fltid", -1, 6));
            const std::string mail = q.Text("cl_mail", ShortText, true);
            std::vector<TTaggedRow> rows;
            for (const TScriptEntry& e : m_storage.ListScripts(filter, mail, now)) {
                char avg[32];
                std::snprintf(avg, sizeof avg, "%.3f", e.RatingAvg);
                rows.push_back({{"id", num(e.Id)},
                                {"key_cl_name", e.AuthorName},
                                {"key_cl_mail", e.AuthorMail},
                                {"key_cl_lcid", num(e.Lcid)},
                                {"app_name", e.AppGuid},
                                {"app_ver", e.AppVer},
                                {"app_guid", e.AppGuid},
                                {"uniapps", e.Universal ? "1" : "0"},
                                {"publics", e.Public ? "1" : "0"},
                                {"created", FormatUtcTime(e.Created)},
                                {"rating_avg", avg},
                                {"rating_cnt", num(e.RatingCount)},
                                {"rating_you", num(e.MyRating)},
                                {"downloads", num(e.Downloads)},
                                {"last_download", FormatUtcTime(e.LastDownload)},
                                {"title", EncodeBase64(e.Title)},
                                {"descr", EncodeBase64(e.Descr)}});
            }
            return {200, util::TaggedAnswer(rows)};
        }
        if (p == "/scripts/scr_getdata.php") {
            const std::int64_t id = q.Int("scr_id", 1, INT32_MAX);
            const std::optional<std::string> text = m_storage.FetchScript(id, now);
            if (!text) throw Refused("Сценарий #" + num(id) + " не найден");
            return {200, util::TaggedAnswer({{{"script", EncodeBase64(*text)}}})};
        }
        if (p == "/scripts/scr_setrate.php") {
            TRateWrite r;
            r.ScriptId = q.Int("scr_id", 1, INT32_MAX);
            r.Value = static_cast<int>(q.Int("rate_value", -1, 5));
            r.Notes = q.Text("rate_notes", NotesBytes, true);
            r.AppGuid = q.Text("appid", ShortText, true);
            r.AppVer = q.Text("appver", ShortText, true);
            r.AuthorName = q.Text("cl_name", ShortText, true);
            r.AuthorMail = q.Mail();
            r.Lcid = static_cast<int>(q.IntOr("cl_lcid", 0, 65535, 0));
            const TWriteResult w = m_storage.RateScript(r, q.Key(), now);
            if (w.State == TWriteResult::Status::NotFound) return {200, util::TaggedAnswer({{{"res_code", "-1"}}})};
            if (w.State != TWriteResult::Status::Done) throw Refused(writeFailure(w, r.ScriptId));
            return {200, util::TaggedAnswer({{{"res_code", "0"}}})};
        }
        if (p == "/scripts/scr_chktitle.php") {
            const std::int64_t id = q.Int("scr_id", -1, INT32_MAX);
            const std::string title = q.Required("scr_title", TitleBytes, false, "Не указано название сценария");
            return {200, util::TaggedAnswer({{{"ret_code", m_storage.ScriptTitleTaken(id, title) ? "1" : "0"}}})};
        }
        if (p == "/scripts/scr_putscript.php") {
            const bool del = q.Int("del_mode", 0, 1) == 1;
            const std::int64_t id = q.Int("scr_id", -1, INT32_MAX);
            if (del) {
                const TWriteResult w = m_storage.DeleteScript(id, q.Mail(), q.Key());
                if (w.State != TWriteResult::Status::Done) throw Refused(writeFailure(w, id));
                return {200, util::TaggedAnswer({{{"id_scripts", "0"}}})};
            }
            TScriptWrite d;
            d.Id = id;
            d.Universal = q.Int("scr_uniapps", 0, 1) == 1;
            d.Public = q.Int("scr_publics", 0, 1) == 1;
            d.Title = std::string(Request::trimmed(
                q.Required("scr_title", TitleBytes, false, "Название сценария должно быть указано обязательно!")));
            d.Descr = q.Text("scr_descr", DescrBytes, false);
            d.Script = q.Required("scr_script", BodyTextBytes, false, "Сценарий не содержит ни одной строки");
            d.AppGuid = q.Text("appid", ShortText, true);
            d.AppVer = q.Text("appver", ShortText, true);
            d.AuthorName = q.Required("cl_name", ShortText, true, "Имя автора должно быть указано обязательно!");
            d.AuthorMail = q.Mail();
            d.Lcid = static_cast<int>(q.IntOr("cl_lcid", 0, 65535, 0));
            const TWriteResult w = m_storage.PutScript(d, q.Key(), now);
            if (w.State != TWriteResult::Status::Done) throw Refused(writeFailure(w, id));
            return {200, util::TaggedAnswer({{{"id_scripts", num(w.Id)}}})};
        }
        if (p == "/scripts/scr_getrates.php") {
            std::vector<TTaggedRow> rows;
            for (const TRateEntry& r : m_storage.ListRates(q.Int("scr_id", 1, INT32_MAX)))
                rows.push_back({{"key_cl_name", r.AuthorName},
                                {"rate", num(r.Rate)},
                                {"created", FormatUtcTime(r.Created)},
                                {"app_name", r.AppGuid},
                                {"app_ver", r.AppVer},
                                {"notes", r.Notes}});
            return {200, util::TaggedAnswer(rows)};
        }
        if (p == "/scripts/sys_getlist.php") {
            const int combLen = static_cast<int>(q.IntOr("comblen", 1, 20, 8));
            const int maxNums = static_cast<int>(q.IntOr("maxnums", 1, 99, 20));
            std::vector<TTaggedRow> rows;
            for (const TSystemEntry& e : m_storage.ListSystems(combLen, maxNums))
                rows.push_back({{"id", num(e.Id)},
                                {"nums", num(e.Nums)},
                                {"olap", num(e.Olap)},
                                {"csize", num(e.CSize)},
                                {"title", EncodeBase64(e.Title)},
                                {"descr", EncodeBase64(e.Descr)},
                                {"author", e.AuthorName},
                                {"cl_mail", e.AuthorMail},
                                {"url", e.Url},
                                {"created", FormatUtcTime(e.Created)},
                                {"downloads", num(e.Downloads)},
                                {"last_download", FormatUtcTime(e.LastDownload)}});
            return {200, util::TaggedAnswer(rows)};
        }
        if (p == "/scripts/sys_getdata.php") {
            const std::int64_t id = q.Int("sys_id", 1, INT32_MAX);
            const std::optional<std::string> combs = m_storage.FetchSystem(id, now);
            if (!combs) throw Refused("Система #" + num(id) + " не найдена");
            return {200, util::TaggedAnswer({{{"clist", EncodeBase64(*combs)}}})};
        }
        if (p == "/scripts/sys_putdata.php") {
            const bool del = q.Int("del_mode", 0, 1) == 1;
            const std::int64_t id = q.Int("sys_id", -1, INT32_MAX);
            if (del) {
                const TWriteResult w = m_storage.DeleteSystem(id, q.Mail(), q.Key());
                if (w.State != TWriteResult::Status::Done) throw Refused(writeFailure(w, id));
                return {200, util::TaggedAnswer({{{"id_systems", "0"}}})};
            }
            TSystemWrite d;
            TSystemEntry& i = d.Info;
            i.Id = id;
            i.Nums = static_cast<int>(q.Int("nums", 9, 20));
            i.CombLen = static_cast<int>(q.Int("clen", 8, 8));
            i.Olap = static_cast<int>(q.Int("olap", 0, 7));
            i.CSize = static_cast<int>(q.Int("csize", 1, 1000000));
            i.Title = std::string(Request::trimmed(
                q.Required("title", TitleBytes, false, "Название системы должно быть указано обязательно!")));
            i.Descr = q.Text("descr", DescrBytes, false);
            const std::optional<std::string> list = util::DecodeBase64(q.Text("clist", BodyTextBytes * 2, false, false));
            if (!list) throw Refused("Список комбинаций системы повреждён");
            d.Combs = util::UnescapeCatalogText(*list);
            if (d.Combs.size() > BodyTextBytes || !util::IsValidUtf8(d.Combs) || d.Combs.find('\0') != std::string::npos)
                throw Refused("Недопустимые символы в поле \"clist\"");
            checkSystemList(d.Combs, i.Nums, i.CSize);
            i.Url = q.Text("url", UrlBytes, true, false);
            d.AppGuid = q.Text("appid", ShortText, true);
            d.AppVer = q.Text("appver", ShortText, true);
            i.AuthorName = q.Required("cl_name", ShortText, true, "Имя автора должно быть указано обязательно!");
            i.AuthorMail = q.Mail();
            d.Lcid = static_cast<int>(q.IntOr("cl_lcid", 0, 65535, 0));
            const TWriteResult w = m_storage.PutSystem(d, q.Key(), now);
            if (w.State != TWriteResult::Status::Done) throw Refused(writeFailure(w, id));
            return {200, util::TaggedAnswer({{{"id_systems", num(w.Id)}}})};
        }
        if (p == VersionPath) {
            if (m_version.Version.empty()) return {200, util::TaggedAnswer({})};
            return {200, util::TaggedAnswer(
                             {{{"app_ver", m_version.Version}, {"url", m_version.Url}, {"notes", m_version.Notes}}})};
        }
    } catch (const Refused& e) {
        return {200, util::TaggedError(e.what())};
    } catch (const std::exception& e) {
        // The database's own text stays in the server's log; the user learns only that the
        // server failed.
        std::fprintf(stderr, "kvanta-catalog: %s: %s\n", p.c_str(), e.what());
        return {200, util::TaggedError("Внутренняя ошибка сервера каталога")};
    }
    return {404, util::TaggedError("Неизвестный запрос")};
}

} // namespace kv::server
