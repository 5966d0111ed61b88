#include "core/online/catalog.h"

#include <charconv>
#include <random>

#include "core/game/texts.h"
#include "core/scenario/scenario.h"
#include "core/util/catalogwiremessages.h"
#include "core/util/cp1251.h"
#include "core/util/files.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/ini.h"
#include "core/util/textcut.h"

namespace kv::online {

namespace {

using util::TFormFields;

bool sameMail(std::string_view a, std::string_view b)
{
    if (a.size() != b.size() || a.empty()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

using util::TCatalogMessageId;

// One answer row of a message, read by the tags the protocol table gives it.
class Row {
public:
    Row(const util::TCatalogMessage& m, const std::string& row) : m_m(m), m_row(row) {}

    std::string Text(const char* tag) const { return util::CatalogField(m_m, m_row, tag); }
    std::string Base64(const char* tag) const
    {
        const std::optional<std::string> v = util::DecodeBase64(Text(tag));
        if (!v) throw Error(util::Format("Повреждённое поле <%s> в ответе сервера", {tag}));
        return *v;
    }
    int64_t Time(const char* tag) const
    {
        const std::string t = Text(tag);
        const std::optional<int64_t> v = util::ParseUtcTime(t);
        if (!v) throw Error(util::Format("Неверная дата в ответе сервера: \"%s\"", {t}));
        return *v;
    }
    int32_t Int(const char* tag) const { return game::TextToInt(Text(tag)); }

private:
    const util::TCatalogMessage& m_m;
    const std::string& m_row;
};

std::string esc(const std::string& s) { return util::EscapeCatalogText(s); }
std::string num(int64_t v) { return std::to_string(v); }

// Whether the server said that entries follow the page of these rows.
bool followed(const util::TCatalogMessage& m, const std::vector<std::string>& rows)
{
    return !rows.empty() && !util::RowField(rows.back(), m.NextTag).empty();
}

} // namespace

std::string MakeClientKey()
{
    std::random_device rd;
    std::string key;
    static constexpr char hex[] = "0123456789abcdef";
    for (int i = 0; i < 32; ++i) key += hex[rd() & 15u];
    return key;
}

TOnlineIdentity LoadOnlineIdentity(const std::filesystem::path& iniPath)
{
    util::IniFile ini;
    try {
        ini = util::IniFile::Load(iniPath);
    } catch (const std::exception&) {
        // A missing file is a first start: the key below creates it.
    }
    TOnlineIdentity id;
    id.AuthorName = ini.ReadString("ONLINE", "AuthorName", "");
    id.AuthorMail = ini.ReadString("ONLINE", "AuthorMail", "");
    id.ClientKey = ini.ReadString("ONLINE", "ClientKey", "");
    if (id.ClientKey.empty()) {
        id.ClientKey = MakeClientKey();
        ini.WriteString("ONLINE", "ClientKey", id.ClientKey);
        ini.Save(iniPath);
    }
    return id;
}

void SaveOnlineIdentity(const std::filesystem::path& iniPath, const TOnlineIdentity& identity)
{
    util::IniFile ini;
    if (std::filesystem::exists(iniPath)) ini = util::IniFile::Load(iniPath);
    ini.WriteString("ONLINE", "AuthorName", identity.AuthorName);
    ini.WriteString("ONLINE", "AuthorMail", identity.AuthorMail);
    ini.WriteString("ONLINE", "ClientKey", identity.ClientKey);
    ini.Save(iniPath);
}

const std::vector<std::string>& CatalogFilterCaptions()
{
    static const std::vector<std::string> captions = {
        "Скрытые",          "Все, включая скрытые", "Все, кроме скрытых (по умолчанию)",
        "Только мои",       "Только публичные",     "С моими оценками",
        "Без моих оценок",  "Новые (24 часа с момента публикации)",
    };
    return captions;
}

TCatalogClient::TCatalogClient(TCatalogPost post, TOnlineIdentity identity, TProgramIdentity program)
    : m_post(std::move(post)), m_identity(std::move(identity)), m_program(std::move(program))
{
}

std::vector<std::string> TCatalogClient::post(const util::TCatalogMessage& m,
                                             const std::vector<std::optional<std::string>>& values) const
{
    return util::ReadTaggedRows(m_post(m.RelativePath(), util::CatalogRequest(m, values)));
}

std::vector<tScriptInfo> TCatalogClient::LoadCatalogue(int filterIndex, int32_t offset, int32_t limit, bool* more) const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::ScriptList);
    const std::optional<std::string> noPage;
    const std::vector<std::string> rows =
        post(m, {num(filterIndex - 1), m_program.AppId, m_program.AppVer, esc(m_identity.AuthorName),
                 esc(m_identity.AuthorMail), num(m_identity.Lcid), offset > 0 ? num(offset) : noPage,
                 limit > 0 ? num(limit) : noPage});
    if (more) *more = followed(m, rows);
    std::vector<tScriptInfo> out;
    for (const std::string& row : rows) {
        const Row r(m, row);
        tScriptInfo e;
        e.Id = r.Int("id");
        e.AuthorName = r.Text("key_cl_name");
        e.AuthorMail = r.Text("key_cl_mail");
        if (!game::TryTextToInt(r.Text("key_cl_lcid"), e.Lcid)) e.Lcid = m_identity.Lcid;
        e.AppName = r.Text("app_name");
        e.AppVer = r.Text("app_ver");
        e.Universal = r.Int("uniapps") > 0;
        e.Public = r.Int("publics") > 0;
        e.Created = r.Time("created");
        const std::string avg = r.Text("rating_avg");
        double v = 0;
        if (std::from_chars(avg.data(), avg.data() + avg.size(), v).ec == std::errc()) e.RatingAvg = v;
        e.RatingCount = r.Int("rating_cnt");
        e.MyRating = r.Int("rating_you");
        e.Downloads = r.Int("downloads");
        e.LastDownload = r.Time("last_download");
        e.Title = r.Base64("title");
        e.Descr = r.Base64("descr");
        e.Mine = sameMail(e.AuthorMail, m_identity.AuthorMail);
        e.Applicable = e.Universal || sameMail(r.Text("app_guid"), m_program.AppId);
        e.Editable = e.Mine && e.Applicable;
        out.push_back(std::move(e));
    }
    return out;
}

std::string TCatalogClient::DownloadScript(int32_t id) const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::ScriptData);
    for (const std::string& row : post(m, {num(id)}))
        if (util::AnsiFindNoCase(row, "<script>") == 0) return Row(m, row).Base64("script");
    return {};
}

void TCatalogClient::RateScript(int32_t id, int value, const std::string& notes) const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::ScriptRate);
    const std::vector<std::string> rows =
        post(m, {num(id), num(value), esc(notes), m_program.AppId, m_program.AppVer, esc(m_identity.AuthorName),
                 esc(m_identity.AuthorMail), num(m_identity.Lcid), m_identity.ClientKey});
    const int32_t code = rows.empty() ? -1 : Row(m, rows[0]).Int("res_code");
    if (code < 0) throw Error(util::Format("Код возврата: %d", {code}));
}

bool TCatalogClient::CheckTitle(int32_t id, const std::string& title) const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::ScriptTitle);
    const std::vector<std::string> rows = post(m, {num(id), esc(title)});
    if (rows.empty()) throw Error("Сервер не сообщил результат проверки");
    return Row(m, rows[0]).Text("ret_code") == "0";
}

int32_t TCatalogClient::putScript(const tScriptData& d, const std::optional<std::string>& scriptText) const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::ScriptPut);
    const std::vector<std::string> rows =
        post(m, {scriptText ? "0" : "1", num(d.Id), d.Universal ? "1" : "0", d.Public ? "1" : "0", esc(d.Title),
                 esc(d.Descr), scriptText ? std::optional(esc(*scriptText)) : std::nullopt, m_program.AppId,
                 m_program.AppVer, esc(d.AuthorName), esc(m_identity.AuthorMail), num(d.Lcid), m_identity.ClientKey});
    return rows.empty() ? -1 : Row(m, rows[0]).Int("id_scripts");
}

int32_t TCatalogClient::PutScript(const tScriptData& d, const std::string& scriptText) const
{
    const int32_t id = putScript(d, scriptText);
    if (id <= 0) throw Error("Сервер не вернул номер сценария");
    return id;
}

int32_t TCatalogClient::DeleteScript(const tScriptData& d) const { return putScript(d, std::nullopt); }

std::vector<tRateInfo> TCatalogClient::LoadRates(int32_t id) const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::ScriptRates);
    std::vector<tRateInfo> out;
    for (const std::string& row : post(m, {num(id)})) {
        const Row r(m, row);
        out.push_back({r.Text("key_cl_name"), r.Int("rate"), r.Time("created"), r.Text("app_name"), r.Text("app_ver"),
                       r.Text("notes")});
    }
    return out;
}

std::vector<tSystemInfo> TCatalogClient::LoadSystemList() const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::SystemList);
    std::vector<tSystemInfo> out;
    // The server gives a long list a page at a time; the tab shows all of it.
    const char* const endless = "Сервер прислал слишком длинный список систем";
    std::size_t bytes = 0;
    int pages = 0;
    for (bool more = true; more;) {
        if (++pages > MaxSystemListPages) throw Error(endless);
        const std::vector<std::string> rows =
            post(m, {"8", "20", m_program.AppId, m_program.AppVer, esc(m_identity.AuthorName), esc(m_identity.AuthorMail),
                     num(m_identity.Lcid), out.empty() ? std::nullopt : std::optional(num(out.size())), std::nullopt});
        more = followed(m, rows);
        for (const std::string& row : rows) {
            bytes += row.size();
            if (bytes > MaxSystemListBytes) throw Error(endless);
            const Row r(m, row);
            tSystemInfo s;
            s.Id = r.Int("id");
            s.Nums = r.Int("nums");
            s.Olap = r.Int("olap");
            s.CSize = r.Int("csize");
            s.Title = r.Base64("title");
            s.Descr = r.Base64("descr");
            s.AuthorName = r.Text("author");
            s.AuthorMail = r.Text("cl_mail");
            s.Url = r.Text("url");
            s.Created = r.Time("created");
            s.Downloads = r.Int("downloads");
            s.LastDownload = r.Time("last_download");
            out.push_back(std::move(s));
        }
    }
    return out;
}

std::string TCatalogClient::DownloadSystemCombs(int32_t id) const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::SystemData);
    const std::vector<std::string> rows = post(m, {num(id)});
    if (rows.empty()) throw Error(util::Format("Система #%d не найдена", {id}));
    return Row(m, rows[0]).Base64("clist");
}

int32_t TCatalogClient::PutSystem(const tSystemData& d, bool del) const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::SystemPut);
    const std::vector<std::string> rows =
        post(m, {del ? "1" : "0", num(d.Id), num(d.Nums), "8", num(d.Olap), esc(d.Title), esc(d.Descr), num(d.CSize),
                 del ? std::string() : util::EncodeBase64(esc(d.Combs)), d.Url, m_program.AppId, m_program.AppVer,
                 esc(d.AuthorName), esc(d.AuthorMail), num(m_identity.Lcid), m_identity.ClientKey});
    const int32_t id = rows.empty() ? -1 : Row(m, rows[0]).Int("id_systems");
    if (id < 0) throw Error("Сервер не вернул номер системы");
    return id;
}

TReleaseInfo TCatalogClient::LatestRelease() const
{
    const util::TCatalogMessage& m = util::CatalogMessage(TCatalogMessageId::AppVersion);
    const std::vector<std::string> rows = post(m, {m_program.AppId, m_program.AppVer});
    if (rows.empty()) return {};
    const Row row(m, rows[0]);
    return {row.Text("app_ver"), row.Text("url"), row.Text("notes")};
}

std::string UpdateCheckText(const TReleaseInfo& latest, const std::string& current)
{
    if (!IsNewerVersion(latest.Version, current))
        return util::Format("Установлена последняя версия программы (%s).", {current});
    std::string text = util::Format("Доступна новая версия программы: %s (установлена %s).", {latest.Version, current});
    if (!latest.Notes.empty()) text += "\n\nЧто изменилось: " + latest.Notes;
    if (!latest.Url.empty()) text += "\n\nАдрес для загрузки: " + latest.Url;
    text += "\n\nПрограмма не заменяет свои файлы сама: установите новую версию менеджером пакетов "
            "или с адреса для загрузки.";
    return text;
}

std::string UpdateStatusText(const TReleaseInfo& latest, const std::string& current)
{
    if (!IsNewerVersion(latest.Version, current)) return {};
    std::string text = "Доступна новая версия программы: " + latest.Version;
    if (!latest.Url.empty()) text += " (" + latest.Url + ")";
    return text;
}

bool ReplaceScenarioWithText(scenario::TScenario& scenario, const std::string& text, shell::Shell& shell)
{
    if (text.empty()) return false;
    // Through a scenario file, so a downloaded scenario reads exactly as an opened one does.
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("kvanta-catalog-" + MakeClientKey() + ".lsc");
    util::RewriteFile(file, util::Utf8ToCp1251(text));
    const bool ok = scenario.OpenFile(file, false, shell);
    std::error_code ec;
    std::filesystem::remove(file, ec);
    return ok;
}

bool IsNewerVersion(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        long x = 0, y = 0;
        while (i < a.size() && a[i] != '.') x = x * 10 + (a[i] >= '0' && a[i] <= '9' ? a[i] - '0' : 0), ++i;
        while (j < b.size() && b[j] != '.') y = y * 10 + (b[j] >= '0' && b[j] <= '9' ? b[j] - '0' : 0), ++j;
        if (x != y) return x > y;
        ++i, ++j;
    }
    return false;
}

} // namespace kv::online
