#include "server/catalogservice.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <stdexcept>

#include "core/util/catalogwire.h"
#include "core/util/catalogwiremessages.h"

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

std::string num(std::int64_t v) { return std::to_string(v); }

} // namespace

// The fields of one request with the checks every handler needs; only the fields of its message
// in the protocol table can be asked for.
class TCatalogService::Request {
public:
    Request(const util::TCatalogMessage& m, std::string_view body) : m_message(m), m_fields(util::FormDecode(body)) {}

    std::int64_t Int(const char* name, std::int64_t min, std::int64_t max) const
    {
        const std::optional<std::string> v = value(name);
        std::int64_t n = 0;
        if (!v || !parseInt(*v, n) || n < min || n > max)
            throw Refused("Недопустимое значение поля " + quoted(name));
        return n;
    }
    std::int64_t IntOr(const char* name, std::int64_t min, std::int64_t max, std::int64_t absent) const
    {
        return value(name) ? Int(name, min, max) : absent;
    }
    // An escaped text (escapes undone) or, with `escaped` false, the text as sent. `plain`
    // texts go into answers between tags as they are, so they may not hold "<" or ">".
    std::string Text(const char* name, std::size_t maxBytes, bool plain, bool escaped = true) const
    {
        const std::optional<std::string> raw = value(name);
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
    std::optional<std::string> value(const char* name) const
    {
        if (!m_message.HasField(name))
            throw std::logic_error(std::string(m_message.Path) + " has no field " + name);
        return util::FormValue(m_fields, name);
    }
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
    const util::TCatalogMessage& m_message;
    util::TFormFields m_fields;
};

namespace {

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
        if (TCatalogService::Request::trimmed(line).empty()) continue;
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

using util::CatalogRow;
using util::EncodeBase64;
using util::FormatUtcTime;
using S = TWriteResult::Status;

// One answer row per item, from the message's tags, written straight into the answer. With
// `next`, the last row also names where the next page begins; a reader that knows nothing of
// pages looks for the tags it knows and passes over it.
template <class T, class F>
std::string rowsOf(const util::TCatalogMessage& m, const std::vector<T>& items, F values,
                   std::optional<std::int64_t> next = std::nullopt)
{
    std::string out = "<result>";
    for (const T& item : items) {
        util::TTaggedRow row = CatalogRow(m, values(item));
        if (next && &item == &items.back()) row.emplace_back(m.NextTag, num(*next));
        util::AppendTaggedRow(out, row);
    }
    out += "</result>";
    return out;
}

std::string oneRow(const util::TCatalogMessage& m, std::vector<std::string> values)
{
    return util::TaggedAnswer({CatalogRow(m, std::move(values))});
}

// The answer to a publication or deletion: the entry's id (0 after a deletion), or the refusal.
std::string idAnswer(const util::TCatalogMessage& m, const TWriteResult& w, std::int64_t id)
{
    if (w.State != S::Done) throw Refused(writeFailure(w, id));
    return oneRow(m, {num(w.Id)});
}

// The checks that stand between a user and a change. The key comes first: a refused key leaves
// even a missing entry unanswered, so the ids of a stranger's entries tell an impostor nothing.
S keyCheck(TCatalogWriter& w, const std::string& mailKey, const std::string& key, std::int64_t now)
{
    return w.TieKey(mailKey, key, now) == key ? S::Done : S::KeyMismatch;
}

S ownerCheck(TCatalogWriter& w, TEntryKind kind, std::int64_t id, const std::string& mailKey)
{
    const std::optional<TEntryOwner> owner = w.Owner(kind, id);
    if (!owner) return S::NotFound;
    return owner->MailKey == mailKey ? S::Done : S::NotOwner;
}

TWriteResult deleteEntry(TCatalogStorage& storage, TEntryKind kind, std::int64_t id, const std::string& mail,
                         const std::string& key)
{
    const std::string mailKey = MailKey(mail);
    return storage.Write([&](TCatalogWriter& w) -> TWriteResult {
        if (const S s = keyCheck(w, mailKey, key, 0); s != S::Done) return {s, 0};
        if (const S s = ownerCheck(w, kind, id, mailKey); s != S::Done) return {s, 0};
        w.Delete(kind, id);
        return {S::Done, 0};
    });
}

} // namespace

TWriteResult PutScript(TCatalogStorage& storage, const TScriptWrite& d, const std::string& key, std::int64_t now)
{
    const std::string mailKey = MailKey(d.AuthorMail);
    return storage.Write([&](TCatalogWriter& w) -> TWriteResult {
        if (const S s = keyCheck(w, mailKey, key, now); s != S::Done) return {s, 0};
        if (d.Id > 0) {
            if (const S s = ownerCheck(w, TEntryKind::Script, d.Id, mailKey); s != S::Done) return {s, 0};
            if (!w.UpdateScript(d, now)) return {S::TitleTaken, 0};
            return {S::Done, d.Id};
        }
        const std::optional<std::int64_t> id = w.InsertScript(d, mailKey, now);
        if (!id) return {S::TitleTaken, 0};
        return {S::Done, *id};
    });
}

TWriteResult DeleteScript(TCatalogStorage& storage, std::int64_t id, const std::string& mail, const std::string& key)
{
    return deleteEntry(storage, TEntryKind::Script, id, mail, key);
}

TWriteResult RateScript(TCatalogStorage& storage, const TRateWrite& r, const std::string& key, std::int64_t now)
{
    const std::string mailKey = MailKey(r.AuthorMail);
    return storage.Write([&](TCatalogWriter& w) -> TWriteResult {
        if (const S s = keyCheck(w, mailKey, key, now); s != S::Done) return {s, 0};
        // Another user's private entry is as good as missing.
        const std::optional<TEntryOwner> owner = w.Owner(TEntryKind::Script, r.ScriptId);
        if (!owner || (!owner->Public && owner->MailKey != mailKey)) return {S::NotFound, 0};
        w.SetRating(r, mailKey, now);
        return {S::Done, 0};
    });
}

TWriteResult PutSystem(TCatalogStorage& storage, const TSystemWrite& d, const std::string& key, std::int64_t now)
{
    const std::string mailKey = MailKey(d.Info.AuthorMail);
    return storage.Write([&](TCatalogWriter& w) -> TWriteResult {
        if (const S s = keyCheck(w, mailKey, key, now); s != S::Done) return {s, 0};
        if (d.Info.Id > 0) {
            if (const S s = ownerCheck(w, TEntryKind::System, d.Info.Id, mailKey); s != S::Done) return {s, 0};
            w.UpdateSystem(d, now);
            return {S::Done, d.Info.Id};
        }
        return {S::Done, w.InsertSystem(d, mailKey, now)};
    });
}

TWriteResult DeleteSystem(TCatalogStorage& storage, std::int64_t id, const std::string& mail, const std::string& key)
{
    return deleteEntry(storage, TEntryKind::System, id, mail, key);
}

TCatalogService::TCatalogService(TCatalogStorage& storage, std::function<std::int64_t()> clock, TVersionInfo version,
                                 std::int64_t pageSize, std::int64_t pageBytes)
    : m_storage(storage), m_clock(std::move(clock)), m_version(std::move(version)),
      m_pageSize(std::max<std::int64_t>(1, pageSize)), m_pageBytes(std::max<std::int64_t>(1, pageBytes))
{
    if (!m_clock)
        m_clock = [] {
            return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
        };
}

TCatalogAnswer TCatalogService::Handle(std::string_view path, std::string_view body)
{
    using Id = util::TCatalogMessageId;
    static const std::map<Id, Handler> handlers = {
        {Id::ScriptList, &TCatalogService::scriptList},   {Id::ScriptData, &TCatalogService::scriptData},
        {Id::ScriptRate, &TCatalogService::scriptRate},   {Id::ScriptTitle, &TCatalogService::scriptTitle},
        {Id::ScriptPut, &TCatalogService::scriptPut},     {Id::ScriptRates, &TCatalogService::scriptRates},
        {Id::SystemList, &TCatalogService::systemList},   {Id::SystemData, &TCatalogService::systemData},
        {Id::SystemPut, &TCatalogService::systemPut},     {Id::AppVersion, &TCatalogService::appVersion},
    };
    const util::TCatalogMessage* m = util::FindCatalogMessage(path);
    if (!m) return {404, util::TaggedError("Неизвестный запрос")};
    try {
        const Request q(*m, body);
        return {200, (this->*handlers.at(m->Id))(*m, q, m_clock())};
    } catch (const Refused& e) {
        return {200, util::TaggedError(e.what())};
    } catch (const std::exception& e) {
        // The database's own text stays in the server's log; the user learns only that the
        // server failed.
        std::fprintf(stderr, "kvanta-catalog: %s: %s\n", m->Path.data(), e.what());
        return {200, util::TaggedError("Внутренняя ошибка сервера каталога")};
    }
}

TPage TCatalogService::page(const Request& q) const
{
    TPage page;
    page.Offset = q.IntOr("offset", 0, INT32_MAX, 0);
    page.Limit = std::min(q.IntOr("limit", 1, INT32_MAX, m_pageSize), m_pageSize);
    page.Bytes = m_pageBytes;
    return page;
}

namespace {

// Where the page after `found` begins, when entries follow it.
template <class T>
std::optional<std::int64_t> nextOffset(const TPage& page, const TListPage<T>& found)
{
    if (!found.More) return std::nullopt;
    return page.Offset + static_cast<std::int64_t>(found.Entries.size());
}

} // namespace

std::string TCatalogService::scriptList(const util::TCatalogMessage& m, const Request& q, std::int64_t now)
{
    const auto filter = static_cast<TScriptFilter>(q.Int("fltid", -1, 6));
    const std::string mail = q.Text("cl_mail", ShortText, true);
    const TPage p = page(q);
    const TScriptPage found = m_storage.ListScripts(filter, mail, now, p);
    return rowsOf(
        m, found.Entries,
        [](const TScriptEntry& e) {
            char avg[32];
            std::snprintf(avg, sizeof avg, "%.3f", e.RatingAvg);
            return std::vector<std::string>{num(e.Id), e.AuthorName, e.AuthorMail, num(e.Lcid), e.AppGuid, e.AppVer,
                                            e.AppGuid, e.Universal ? "1" : "0", e.Public ? "1" : "0",
                                            FormatUtcTime(e.Created), avg, num(e.RatingCount), num(e.MyRating),
                                            num(e.Downloads), FormatUtcTime(e.LastDownload), EncodeBase64(e.Title),
                                            EncodeBase64(e.Descr)};
        },
        nextOffset(p, found));
}

std::string TCatalogService::scriptData(const util::TCatalogMessage& m, const Request& q, std::int64_t now)
{
    const std::int64_t id = q.Int("scr_id", 1, INT32_MAX);
    const std::optional<std::string> text = m_storage.FetchScript(id, now);
    if (!text) throw Refused("Сценарий #" + num(id) + " не найден");
    return oneRow(m, {EncodeBase64(*text)});
}

std::string TCatalogService::scriptRate(const util::TCatalogMessage& m, const Request& q, std::int64_t now)
{
    TRateWrite r;
    r.ScriptId = q.Int("scr_id", 1, INT32_MAX);
    r.Value = static_cast<int>(q.Int("rate_value", -1, 5));
    r.Notes = q.Text("rate_notes", NotesBytes, true);
    r.AppGuid = q.Text("appid", ShortText, true);
    r.AppVer = q.Text("appver", ShortText, true);
    r.AuthorName = q.Text("cl_name", ShortText, true);
    r.AuthorMail = q.Mail();
    r.Lcid = static_cast<int>(q.IntOr("cl_lcid", 0, 65535, 0));
    const TWriteResult w = RateScript(m_storage, r, q.Key(), now);
    if (w.State == S::NotFound) return oneRow(m, {"-1"});
    if (w.State != S::Done) throw Refused(writeFailure(w, r.ScriptId));
    return oneRow(m, {"0"});
}

std::string TCatalogService::scriptTitle(const util::TCatalogMessage& m, const Request& q, std::int64_t)
{
    const std::int64_t id = q.Int("scr_id", -1, INT32_MAX);
    const std::string title = q.Required("scr_title", TitleBytes, false, "Не указано название сценария");
    return oneRow(m, {m_storage.ScriptTitleTaken(id, title) ? "1" : "0"});
}

std::string TCatalogService::scriptPut(const util::TCatalogMessage& m, const Request& q, std::int64_t now)
{
    const bool del = q.Int("del_mode", 0, 1) == 1;
    const std::int64_t id = q.Int("scr_id", -1, INT32_MAX);
    if (del) return idAnswer(m, DeleteScript(m_storage, id, q.Mail(), q.Key()), id);
    TScriptWrite d;
    d.Id = id;
    d.Universal = q.Int("scr_uniapps", 0, 1) == 1;
    d.Public = q.Int("scr_publics", 0, 1) == 1;
    d.Title = std::string(
        Request::trimmed(q.Required("scr_title", TitleBytes, false, "Название сценария должно быть указано обязательно!")));
    d.Descr = q.Text("scr_descr", DescrBytes, false);
    d.Script = q.Required("scr_script", BodyTextBytes, false, "Сценарий не содержит ни одной строки");
    d.AppGuid = q.Text("appid", ShortText, true);
    d.AppVer = q.Text("appver", ShortText, true);
    d.AuthorName = q.Required("cl_name", ShortText, true, "Имя автора должно быть указано обязательно!");
    d.AuthorMail = q.Mail();
    d.Lcid = static_cast<int>(q.IntOr("cl_lcid", 0, 65535, 0));
    return idAnswer(m, PutScript(m_storage, d, q.Key(), now), id);
}

std::string TCatalogService::scriptRates(const util::TCatalogMessage& m, const Request& q, std::int64_t)
{
    return rowsOf(m, m_storage.ListRates(q.Int("scr_id", 1, INT32_MAX)), [](const TRateEntry& r) {
        return std::vector<std::string>{r.AuthorName, num(r.Rate), FormatUtcTime(r.Created), r.AppGuid, r.AppVer, r.Notes};
    });
}

std::string TCatalogService::systemList(const util::TCatalogMessage& m, const Request& q, std::int64_t)
{
    const int combLen = static_cast<int>(q.IntOr("comblen", 1, 20, 8));
    const int maxNums = static_cast<int>(q.IntOr("maxnums", 1, 99, 20));
    const TPage p = page(q);
    const TSystemPage found = m_storage.ListSystems(combLen, maxNums, p);
    return rowsOf(
        m, found.Entries,
        [](const TSystemEntry& e) {
            return std::vector<std::string>{num(e.Id),           num(e.Nums),          num(e.Olap),
                                            num(e.CSize),        EncodeBase64(e.Title), EncodeBase64(e.Descr),
                                            e.AuthorName,        e.AuthorMail,          e.Url,
                                            FormatUtcTime(e.Created), num(e.Downloads), FormatUtcTime(e.LastDownload)};
        },
        nextOffset(p, found));
}

std::string TCatalogService::systemData(const util::TCatalogMessage& m, const Request& q, std::int64_t now)
{
    const std::int64_t id = q.Int("sys_id", 1, INT32_MAX);
    const std::optional<std::string> combs = m_storage.FetchSystem(id, now);
    if (!combs) throw Refused("Система #" + num(id) + " не найдена");
    return oneRow(m, {EncodeBase64(*combs)});
}

std::string TCatalogService::systemPut(const util::TCatalogMessage& m, const Request& q, std::int64_t now)
{
    const bool del = q.Int("del_mode", 0, 1) == 1;
    const std::int64_t id = q.Int("sys_id", -1, INT32_MAX);
    if (del) return idAnswer(m, DeleteSystem(m_storage, id, q.Mail(), q.Key()), id);
    TSystemWrite d;
    TSystemEntry& i = d.Info;
    i.Id = id;
    i.Nums = static_cast<int>(q.Int("nums", 9, 20));
    i.CombLen = static_cast<int>(q.Int("clen", 8, 8));
    i.Olap = static_cast<int>(q.Int("olap", 0, 7));
    i.CSize = static_cast<int>(q.Int("csize", 1, 1000000));
    i.Title = std::string(
        Request::trimmed(q.Required("title", TitleBytes, false, "Название системы должно быть указано обязательно!")));
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
    return idAnswer(m, PutSystem(m_storage, d, q.Key(), now), id);
}

std::string TCatalogService::appVersion(const util::TCatalogMessage& m, const Request&, std::int64_t)
{
    if (m_version.Version.empty()) return util::TaggedAnswer({});
    return oneRow(m, {m_version.Version, m_version.Url, m_version.Notes});
}

} // namespace kv::server
