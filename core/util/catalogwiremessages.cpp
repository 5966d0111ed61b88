#include "core/util/catalogwiremessages.h"

#include <algorithm>
#include <stdexcept>

namespace kv::util {

namespace {

using Id = TCatalogMessageId;

// What the program sends about itself and its user with the lists and changes.
#define KV_PROGRAM_FIELDS "appid", "appver"
#define KV_USER_FIELDS "cl_name", "cl_mail", "cl_lcid"

const std::vector<TCatalogMessage> Messages = {
    {Id::ScriptList,
     "/scripts/scr_getlist.php",
     {"fltid", KV_PROGRAM_FIELDS, KV_USER_FIELDS, "offset", "limit"},
     {"id", "key_cl_name", "key_cl_mail", "key_cl_lcid", "app_name", "app_ver", "app_guid", "uniapps", "publics",
      "created", "rating_avg", "rating_cnt", "rating_you", "downloads", "last_download", "title", "descr"},
     false,
     "next_offset"},
    {Id::ScriptData, "/scripts/scr_getdata.php", {"scr_id"}, {"script"}, false},
    {Id::ScriptRate,
     "/scripts/scr_setrate.php",
     {"scr_id", "rate_value", "rate_notes", KV_PROGRAM_FIELDS, KV_USER_FIELDS, "cl_key"},
     {"res_code"},
     true},
    {Id::ScriptTitle, "/scripts/scr_chktitle.php", {"scr_id", "scr_title"}, {"ret_code"}, false},
    {Id::ScriptPut,
     "/scripts/scr_putscript.php",
     {"del_mode", "scr_id", "scr_uniapps", "scr_publics", "scr_title", "scr_descr", "scr_script", KV_PROGRAM_FIELDS,
      KV_USER_FIELDS, "cl_key"},
     {"id_scripts"},
     true},
    {Id::ScriptRates,
     "/scripts/scr_getrates.php",
     {"scr_id"},
     {"key_cl_name", "rate", "created", "app_name", "app_ver", "notes"},
     false},
    {Id::SystemList,
     "/scripts/sys_getlist.php",
     {"comblen", "maxnums", KV_PROGRAM_FIELDS, KV_USER_FIELDS, "offset", "limit"},
     {"id", "nums", "olap", "csize", "title", "descr", "author", "cl_mail", "url", "created", "downloads",
      "last_download"},
     false,
     "next_offset"},
    {Id::SystemData, "/scripts/sys_getdata.php", {"sys_id"}, {"clist"}, false},
    {Id::SystemPut,
     "/scripts/sys_putdata.php",
     {"del_mode", "sys_id", "nums", "clen", "olap", "title", "descr", "csize", "clist", "url", KV_PROGRAM_FIELDS,
      KV_USER_FIELDS, "cl_key"},
     {"id_systems"},
     true},
    {Id::AppVersion, "/scripts/app_version.php", {KV_PROGRAM_FIELDS}, {"app_ver", "url", "notes"}, false},
};

#undef KV_PROGRAM_FIELDS
#undef KV_USER_FIELDS

bool contains(const std::vector<std::string_view>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

void checkCount(const TCatalogMessage& m, std::size_t want, std::size_t got)
{
    if (want != got)
        throw std::logic_error(std::string(m.Path) + ": " + std::to_string(got) + " values for " +
                               std::to_string(want) + " names");
}

} // namespace

bool TCatalogMessage::HasField(std::string_view name) const { return contains(Fields, name); }
bool TCatalogMessage::HasTag(std::string_view tag) const { return contains(Tags, tag); }

const std::vector<TCatalogMessage>& CatalogMessages() { return Messages; }

const TCatalogMessage& CatalogMessage(TCatalogMessageId id) { return Messages.at(static_cast<std::size_t>(id)); }

const TCatalogMessage* FindCatalogMessage(std::string_view path)
{
    for (const TCatalogMessage& m : Messages)
        if (m.Path == path) return &m;
    return nullptr;
}

TFormFields CatalogRequest(const TCatalogMessage& m, const std::vector<std::optional<std::string>>& values)
{
    checkCount(m, m.Fields.size(), values.size());
    TFormFields out;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i]) out.emplace_back(std::string(m.Fields[i]), *values[i]);
    return out;
}

TTaggedRow CatalogRow(const TCatalogMessage& m, std::vector<std::string> values)
{
    checkCount(m, m.Tags.size(), values.size());
    TTaggedRow row;
    row.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) row.emplace_back(std::string(m.Tags[i]), std::move(values[i]));
    return row;
}

std::string CatalogField(const TCatalogMessage& m, std::string_view row, std::string_view tag)
{
    if (!m.HasTag(tag)) throw std::logic_error(std::string(m.Path) + " answers no <" + std::string(tag) + ">");
    return RowField(row, tag);
}

} // namespace kv::util
