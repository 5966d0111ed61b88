#include "core/workspace/catalog.h"

#include <charconv>
#include <random>

#include "core/game/texts.h"
#include "core/scenario/scenario.h"
#include "core/util/cp1251.h"
#include "core/util/files.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/ini.h"
#include "core/util/textcut.h"

namespace kv::workspace {

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

std::string text(const std::string& row, const char* tag) { return util::RowField(row, tag); }

std::string base64Field(const std::string& row, const char* tag)
{
    const std::optional<std::string> v = util::DecodeBase64(util::RowField(row, tag));
    if (!v) throw Error(util::Format("Повреждённое поле <%s> в ответе сервера", {tag}));
    return *v;
}

int64_t timeField(const std::string& row, const char* tag)
{
    const std::string t = util::RowField(row, tag);
    const std::optional<int64_t> v = util::ParseUtcTime(t);
    if (!v) throw Error(util::Format("Неверная дата в ответе сервера: \"%s\"", {t}));
    return *v;
}

int32_t intField(const std::string& row, const char* tag) { return game::TextToInt(util::RowField(row, tag)); }

std::string esc(const std::string& s) { return util::EscapeCatalogText(s); }
std::string num(int64_t v) { return std::to_string(v); }

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

std::vector<std::string> TCatalogClient::post(const std::string& path, TFormFields fields) const
{
    return util::ReadTaggedRows(m_post(path, fields));
}

void TCatalogClient::addProgram(TFormFields& f) const
{
    f.emplace_back("appid", m_program.AppId);
    f.emplace_back("appver", m_program.AppVer);
}

void TCatalogClient::addIdentity(TFormFields& f, const std::string& name, int lcid) const
{
    f.emplace_back("cl_name", esc(name));
    f.emplace_back("cl_mail", esc(m_identity.AuthorMail));
    f.emplace_back("cl_lcid", num(lcid));
}

std::vector<tScriptInfo> TCatalogClient::LoadCatalogue(int filterIndex) const
{
    TFormFields f = {{"fltid", num(filterIndex - 1)}};
    addProgram(f);
    addIdentity(f, m_identity.AuthorName, m_identity.Lcid);
    std::vector<tScriptInfo> out;
    for (const std::string& row : post("scripts/scr_getlist.php", std::move(f))) {
        tScriptInfo e;
        e.Id = intField(row, "id");
        e.AuthorName = text(row, "key_cl_name");
        e.AuthorMail = text(row, "key_cl_mail");
        if (!game::TryTextToInt(text(row, "key_cl_lcid"), e.Lcid)) e.Lcid = m_identity.Lcid;
        e.AppName = text(row, "app_name");
        e.AppVer = text(row, "app_ver");
        e.Universal = intField(row, "uniapps") > 0;
        e.Public = intField(row, "publics") > 0;
        e.Created = timeField(row, "created");
        const std::string avg = text(row, "rating_avg");
        double v = 0;
        if (std::from_chars(avg.data(), avg.data() + avg.size(), v).ec == std::errc()) e.RatingAvg = v;
        e.RatingCount = intField(row, "rating_cnt");
        e.MyRating = intField(row, "rating_you");
        e.Downloads = intField(row, "downloads");
        e.LastDownload = timeField(row, "last_download");
        e.Title = base64Field(row, "title");
        e.Descr = base64Field(row, "descr");
        e.Mine = sameMail(e.AuthorMail, m_identity.AuthorMail);
        e.Applicable = e.Universal || sameMail(text(row, "app_guid"), m_program.AppId);
        e.Editable = e.Mine && e.Applicable;
        out.push_back(std::move(e));
    }
    return out;
}

std::string TCatalogClient::DownloadScript(int32_t id) const
{
    for (const std::string& row : post("scripts/scr_getdata.php", {{"scr_id", num(id)}}))
        if (util::AnsiFindNoCase(row, "<script>") == 0) return base64Field(row, "script");
    return {};
}

void TCatalogClient::RateScript(int32_t id, int value, const std::string& notes) const
{
    TFormFields f = {{"scr_id", num(id)}, {"rate_value", num(value)}, {"rate_notes", esc(notes)}};
    addProgram(f);
    addIdentity(f, m_identity.AuthorName, m_identity.Lcid);
    f.emplace_back("cl_key", m_identity.ClientKey);
    const std::vector<std::string> rows = post("scripts/scr_setrate.php", std::move(f));
    const int32_t code = rows.empty() ? -1 : intField(rows[0], "res_code");
    if (code < 0) throw Error(util::Format("Код возврата: %d", {code}));
}

bool TCatalogClient::CheckTitle(int32_t id, const std::string& title) const
{
    const std::vector<std::string> rows = post("scripts/scr_chktitle.php", {{"scr_id", num(id)}, {"scr_title", esc(title)}});
    if (rows.empty()) throw Error("Сервер не сообщил результат проверки");
    return text(rows[0], "ret_code") == "0";
}

int32_t TCatalogClient::PutScript(const tScriptData& d, const std::string& scriptText) const
{
    TFormFields f = {{"del_mode", "0"},
                     {"scr_id", num(d.Id)},
                     {"scr_uniapps", d.Universal ? "1" : "0"},
                     {"scr_publics", d.Public ? "1" : "0"},
                     {"scr_title", esc(d.Title)},
                     {"scr_descr", esc(d.Descr)},
                     {"scr_script", esc(scriptText)}};
    addProgram(f);
    addIdentity(f, d.AuthorName, d.Lcid);
    f.emplace_back("cl_key", m_identity.ClientKey);
    const std::vector<std::string> rows = post("scripts/scr_putscript.php", std::move(f));
    const int32_t id = rows.empty() ? 0 : intField(rows[0], "id_scripts");
    if (id <= 0) throw Error("Сервер не вернул номер сценария");
    return id;
}

int32_t TCatalogClient::DeleteScript(const tScriptData& d) const
{
    TFormFields f = {{"del_mode", "1"},
                     {"scr_id", num(d.Id)},
                     {"scr_uniapps", d.Universal ? "1" : "0"},
                     {"scr_publics", d.Public ? "1" : "0"},
                     {"scr_title", esc(d.Title)},
                     {"scr_descr", esc(d.Descr)}};
    addProgram(f);
    addIdentity(f, d.AuthorName, d.Lcid);
    f.emplace_back("cl_key", m_identity.ClientKey);
    const std::vector<std::string> rows = post("scripts/scr_putscript.php", std::move(f));
    return rows.empty() ? -1 : intField(rows[0], "id_scripts");
}

std::vector<tRateInfo> TCatalogClient::LoadRates(int32_t id) const
{
    std::vector<tRateInfo> out;
    for (const std::string& row : post("scripts/scr_getrates.php", {{"scr_id", num(id)}}))
        out.push_back({text(row, "key_cl_name"), intField(row, "rate"), timeField(row, "created"), text(row, "app_name"),
                       text(row, "app_ver"), text(row, "notes")});
    return out;
}

std::vector<tSystemInfo> TCatalogClient::LoadSystemList() const
{
    TFormFields f = {{"comblen", "8"}, {"maxnums", "20"}};
    addProgram(f);
    addIdentity(f, m_identity.AuthorName, m_identity.Lcid);
    std::vector<tSystemInfo> out;
    for (const std::string& row : post("scripts/sys_getlist.php", std::move(f))) {
        tSystemInfo s;
        s.Id = intField(row, "id");
        s.Nums = intField(row, "nums");
        s.Olap = intField(row, "olap");
        s.CSize = intField(row, "csize");
        s.Title = base64Field(row, "title");
        s.Descr = base64Field(row, "descr");
        s.AuthorName = text(row, "author");
        s.AuthorMail = text(row, "cl_mail");
        s.Url = text(row, "url");
        s.Created = timeField(row, "created");
        s.Downloads = intField(row, "downloads");
        s.LastDownload = timeField(row, "last_download");
        out.push_back(std::move(s));
    }
    return out;
}

std::string TCatalogClient::DownloadSystemCombs(int32_t id) const
{
    const std::vector<std::string> rows = post("scripts/sys_getdata.php", {{"sys_id", num(id)}});
    if (rows.empty()) throw Error(util::Format("Система #%d не найдена", {id}));
    return base64Field(rows[0], "clist");
}

int32_t TCatalogClient::PutSystem(const tSystemData& d, bool del) const
{
    TFormFields f = {{"del_mode", del ? "1" : "0"},
                     {"sys_id", num(d.Id)},
                     {"nums", num(d.Nums)},
                     {"clen", "8"},
                     {"olap", num(d.Olap)},
                     {"title", esc(d.Title)},
                     {"descr", esc(d.Descr)},
                     {"csize", num(d.CSize)},
                     {"clist", del ? std::string() : util::EncodeBase64(esc(d.Combs))},
                     {"url", d.Url}};
    addProgram(f);
    f.emplace_back("cl_name", esc(d.AuthorName));
    f.emplace_back("cl_mail", esc(d.AuthorMail));
    f.emplace_back("cl_lcid", num(m_identity.Lcid));
    f.emplace_back("cl_key", m_identity.ClientKey);
    const std::vector<std::string> rows = post("scripts/sys_putdata.php", std::move(f));
    const int32_t id = rows.empty() ? -1 : intField(rows[0], "id_systems");
    if (id < 0) throw Error("Сервер не вернул номер системы");
    return id;
}

TReleaseInfo TCatalogClient::LatestRelease() const
{
    TFormFields f;
    addProgram(f);
    const std::vector<std::string> rows = post("scripts/app_version.php", std::move(f));
    if (rows.empty()) return {};
    return {text(rows[0], "app_ver"), text(rows[0], "url"), text(rows[0], "notes")};
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

} // namespace kv::workspace
