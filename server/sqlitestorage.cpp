#include "server/sqlitestorage.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "server/schema.h"

namespace kv::server {

namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what)
{
    throw std::runtime_error(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

// Reads the rows of a statement asked for one entry past `page` into a page: no further entry
// once the page holds its count or its bytes, and `More` when a row is left.
template <class T, class Rows, class Read>
TListPage<T> readPage(Rows& s, const TPage& page, Read read)
{
    TListPage<T> out;
    std::int64_t bytes = 0;
    while (s.Step()) {
        if (static_cast<std::int64_t>(out.Entries.size()) == page.Limit || bytes >= page.Bytes) {
            out.More = true;
            break;
        }
        out.Entries.push_back(read());
        bytes += PageBytes(out.Entries.back());
    }
    return out;
}

// The LIMIT that asks for one entry past the page.
std::int64_t pastPage(const TPage& page) { return std::min<std::int64_t>(page.Limit, INT64_MAX - 1) + 1; }

} // namespace

// A prepared statement borrowed from the cache for one use: reset and unbound when it goes.
class TSqliteStorage::Statement {
public:
    Statement(sqlite3* db, sqlite3_stmt* s) : m_db(db), m_s(s) {}
    ~Statement()
    {
        sqlite3_reset(m_s);
        sqlite3_clear_bindings(m_s);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int i, std::int64_t v)
    {
        check(sqlite3_bind_int64(m_s, i, v));
        return *this;
    }
    Statement& Bind(int i, const std::string& v)
    {
        check(sqlite3_bind_text(m_s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
        return *this;
    }
    // True while there is a row; false when done. SQLITE_CONSTRAINT comes back as false with
    // `constraint` set when the caller asks for it.
    bool Step(bool* constraint = nullptr)
    {
        const int rc = sqlite3_step(m_s);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        if (constraint && (rc & 0xFF) == SQLITE_CONSTRAINT) {
            *constraint = true;
            return false;
        }
        fail(m_db, "database step failed");
    }
    void Run()
    {
        while (Step()) {
        }
    }
    std::int64_t Int(int col) { return sqlite3_column_int64(m_s, col); }
    double Real(int col) { return sqlite3_column_double(m_s, col); }
    std::string Text(int col)
    {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_s, col));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(m_s, col))) : std::string();
    }

private:
    void check(int rc)
    {
        if (rc != SQLITE_OK) fail(m_db, "database bind failed");
    }
    sqlite3* m_db;
    sqlite3_stmt* m_s;
};

// BEGIN IMMEDIATE .. COMMIT; anything that leaves the scope before Commit() rolls back, so a
// failed change leaves the file as it was.
class TSqliteStorage::Transaction {
public:
    explicit Transaction(TSqliteStorage& s) : m_s(s) { m_s.exec("BEGIN IMMEDIATE"); }
    ~Transaction()
    {
        if (!m_done) sqlite3_exec(m_s.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit()
    {
        m_s.exec("COMMIT");
        m_done = true;
    }

private:
    TSqliteStorage& m_s;
    bool m_done = false;
};

TSqliteStorage::TSqliteStorage(const std::filesystem::path& file)
{
    if (sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string why = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw std::runtime_error("cannot open " + file.string() + ": " + why);
    }
    try {
        sqlite3_busy_timeout(m_db, 5000);
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=NORMAL");
        exec("PRAGMA foreign_keys=ON");
        migrate();
    } catch (...) {
        close();
        throw;
    }
}

TSqliteStorage::~TSqliteStorage() { close(); }

void TSqliteStorage::close()
{
    // A connection with statements still prepared would stay open (SQLITE_BUSY).
    for (auto& [sql, s] : m_statements) sqlite3_finalize(s);
    m_statements.clear();
    sqlite3_close(m_db);
    m_db = nullptr;
}

void TSqliteStorage::exec(const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string why = err ? err : "unknown error";
        sqlite3_free(err);
        throw std::runtime_error(std::string("database statement failed: ") + why);
    }
}

TSqliteStorage::Statement TSqliteStorage::prepare(const char* sql)
{
    sqlite3_stmt*& s = m_statements[sql];
    if (!s && sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK)
        fail(m_db, std::string("cannot prepare ") + sql);
    return Statement(m_db, s);
}

int TSqliteStorage::SchemaVersion()
{
    std::lock_guard lock(m_mutex);
    Statement s = prepare("PRAGMA user_version");
    return s.Step() ? static_cast<int>(s.Int(0)) : 0;
}

void TSqliteStorage::migrate()
{
    const auto& steps = SchemaMigrations();
    int version = 0;
    {
        Statement s = prepare("PRAGMA user_version");
        if (s.Step()) version = static_cast<int>(s.Int(0));
    }
    if (version > static_cast<int>(steps.size()))
        throw std::runtime_error("the database was written by a newer server (schema version " +
                                 std::to_string(version) + ")");
    for (; version < static_cast<int>(steps.size()); ++version) {
        Transaction t(*this);
        exec(std::string(steps[static_cast<std::size_t>(version)]).c_str());
        exec(("PRAGMA user_version=" + std::to_string(version + 1)).c_str());
        t.Commit();
    }
}

// The list in one statement: the filter is a number bound as a parameter, so every filter runs
// the same prepared text. The rows come one at a time in the order of an index, with nothing to
// sort: the ratings are counted for the rows read, and reading stops at the end of the page (its
// count or its bytes), so a page costs the same in a catalogue of any size and a long
// description past the page is never read.
static const char* const ListScriptsSql = R"sql(
SELECT s.id, s.author_name, s.author_mail, s.lcid, s.app_guid, s.app_ver, s.universal, s.public, s.created,
       COALESCE((SELECT AVG(rate) FROM ratings WHERE script_id = s.id AND rate > 0), 0),
       (SELECT COUNT(*) FROM ratings WHERE script_id = s.id AND rate > 0),
       COALESCE(me.rate, 0), s.downloads, s.last_download, s.title, s.descr
FROM scripts s
LEFT JOIN ratings me ON me.script_id = s.id AND me.mail_key = ?1
WHERE (s.public = 1 OR s.mail_key = ?1)
  AND CASE ?2
        WHEN -1 THEN COALESCE(me.rate, 0) = -1
        WHEN 0 THEN 1
        WHEN 1 THEN COALESCE(me.rate, 0) <> -1
        WHEN 2 THEN s.mail_key = ?1
        WHEN 3 THEN s.public = 1 AND COALESCE(me.rate, 0) <> -1
        WHEN 4 THEN COALESCE(me.rate, 0) > 0
        WHEN 5 THEN COALESCE(me.rate, 0) = 0
        WHEN 6 THEN s.created >= ?3 - 86400 AND COALESCE(me.rate, 0) <> -1
        ELSE 0
      END
ORDER BY s.created DESC, s.id DESC
LIMIT ?4 OFFSET ?5
)sql";

TScriptPage TSqliteStorage::ListScripts(TScriptFilter filter, const std::string& mail, std::int64_t now, TPage page)
{
    std::lock_guard lock(m_mutex);
    Statement s = prepare(ListScriptsSql);
    s.Bind(1, MailKey(mail)).Bind(2, static_cast<std::int64_t>(filter)).Bind(3, now).Bind(4, pastPage(page)).Bind(5, page.Offset);
    return readPage<TScriptEntry>(s, page, [&] {
        TScriptEntry e;
        e.Id = s.Int(0);
        e.AuthorName = s.Text(1);
        e.AuthorMail = s.Text(2);
        e.Lcid = static_cast<int>(s.Int(3));
        e.AppGuid = s.Text(4);
        e.AppVer = s.Text(5);
        e.Universal = s.Int(6) != 0;
        e.Public = s.Int(7) != 0;
        e.Created = s.Int(8);
        e.RatingAvg = s.Real(9);
        e.RatingCount = static_cast<int>(s.Int(10));
        e.MyRating = static_cast<int>(s.Int(11));
        e.Downloads = static_cast<int>(s.Int(12));
        e.LastDownload = s.Int(13);
        e.Title = s.Text(14);
        e.Descr = s.Text(15);
        return e;
    });
}

std::optional<std::string> TSqliteStorage::FetchScript(std::int64_t id, std::int64_t now)
{
    std::lock_guard lock(m_mutex);
    Transaction t(*this);
    std::string text;
    {
        Statement s = prepare("SELECT script FROM scripts WHERE id = ?1");
        s.Bind(1, id);
        if (!s.Step()) return std::nullopt;
        text = s.Text(0);
    }
    prepare("UPDATE scripts SET downloads = downloads + 1, last_download = ?2 WHERE id = ?1").Bind(1, id).Bind(2, now).Run();
    t.Commit();
    return text;
}

bool TSqliteStorage::ScriptTitleTaken(std::int64_t exceptId, const std::string& title)
{
    std::lock_guard lock(m_mutex);
    Statement s = prepare("SELECT 1 FROM scripts WHERE title_key = ?1 AND id <> ?2");
    s.Bind(1, TitleKey(title)).Bind(2, exceptId);
    return s.Step();
}

std::vector<TRateEntry> TSqliteStorage::ListRates(std::int64_t id)
{
    std::lock_guard lock(m_mutex);
    Statement s = prepare(R"sql(SELECT author_name, rate, created, app_guid, app_ver, notes FROM ratings
                                WHERE script_id = ?1 AND rate > 0 ORDER BY created, rowid)sql");
    s.Bind(1, id);
    std::vector<TRateEntry> out;
    while (s.Step()) out.push_back({s.Text(0), static_cast<int>(s.Int(1)), s.Int(2), s.Text(3), s.Text(4), s.Text(5)});
    return out;
}

TSystemPage TSqliteStorage::ListSystems(int combLen, int maxNums, TPage page)
{
    std::lock_guard lock(m_mutex);
    Statement s = prepare(R"sql(SELECT id, nums, olap, comb_len, csize, title, descr, author_name, author_mail, url,
                                created, downloads, last_download FROM systems
                                WHERE comb_len = ?1 AND nums <= ?2 ORDER BY nums, id LIMIT ?3 OFFSET ?4)sql");
    s.Bind(1, combLen).Bind(2, maxNums).Bind(3, pastPage(page)).Bind(4, page.Offset);
    return readPage<TSystemEntry>(s, page, [&] {
        TSystemEntry e;
        e.Id = s.Int(0);
        e.Nums = static_cast<int>(s.Int(1));
        e.Olap = static_cast<int>(s.Int(2));
        e.CombLen = static_cast<int>(s.Int(3));
        e.CSize = static_cast<int>(s.Int(4));
        e.Title = s.Text(5);
        e.Descr = s.Text(6);
        e.AuthorName = s.Text(7);
        e.AuthorMail = s.Text(8);
        e.Url = s.Text(9);
        e.Created = s.Int(10);
        e.Downloads = static_cast<int>(s.Int(11));
        e.LastDownload = s.Int(12);
        return e;
    });
}

std::optional<std::string> TSqliteStorage::FetchSystem(std::int64_t id, std::int64_t now)
{
    std::lock_guard lock(m_mutex);
    Transaction t(*this);
    std::string combs;
    {
        Statement s = prepare("SELECT combs FROM systems WHERE id = ?1");
        s.Bind(1, id);
        if (!s.Step()) return std::nullopt;
        combs = s.Text(0);
    }
    prepare("UPDATE systems SET downloads = downloads + 1, last_download = ?2 WHERE id = ?1").Bind(1, id).Bind(2, now).Run();
    t.Commit();
    return combs;
}

// The steps of a change on the connection, inside the transaction Write() opened.
class TSqliteStorage::Writer : public TCatalogWriter {
public:
    explicit Writer(TSqliteStorage& s) : m_s(s) {}

    std::string TieKey(const std::string& mailKey, const std::string& key, std::int64_t now) override
    {
        m_s.prepare("INSERT INTO users (mail_key, secret, created) VALUES (?1, ?2, ?3) ON CONFLICT (mail_key) DO NOTHING")
            .Bind(1, mailKey).Bind(2, key).Bind(3, now).Run();
        Statement s = m_s.prepare("SELECT secret FROM users WHERE mail_key = ?1");
        s.Bind(1, mailKey);
        return s.Step() ? s.Text(0) : std::string();
    }

    std::optional<TEntryOwner> Owner(TEntryKind kind, std::int64_t id) override
    {
        // The write lock of BEGIN IMMEDIATE already keeps every other change out.
        Statement s = m_s.prepare(kind == TEntryKind::Script ? "SELECT mail_key, public FROM scripts WHERE id = ?1"
                                                             : "SELECT mail_key, 1 FROM systems WHERE id = ?1");
        s.Bind(1, id);
        if (!s.Step()) return std::nullopt;
        return TEntryOwner{s.Text(0), s.Int(1) != 0};
    }

    std::optional<std::int64_t> InsertScript(const TScriptWrite& d, const std::string& mailKey, std::int64_t now) override
    {
        bool taken = false;
        m_s.prepare(R"sql(INSERT INTO scripts (title, title_key, descr, script, author_name, author_mail, mail_key, lcid,
                          app_guid, app_ver, universal, public, created)
                          VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13))sql")
            .Bind(1, d.Title).Bind(2, TitleKey(d.Title)).Bind(3, d.Descr).Bind(4, d.Script).Bind(5, d.AuthorName)
            .Bind(6, d.AuthorMail).Bind(7, mailKey).Bind(8, d.Lcid).Bind(9, d.AppGuid).Bind(10, d.AppVer)
            .Bind(11, d.Universal ? 1 : 0).Bind(12, d.Public ? 1 : 0).Bind(13, now)
            .Step(&taken);
        if (taken) return std::nullopt;
        return sqlite3_last_insert_rowid(m_s.m_db);
    }

    bool UpdateScript(const TScriptWrite& d, std::int64_t now) override
    {
        bool taken = false;
        m_s.prepare(R"sql(UPDATE scripts SET title = ?2, title_key = ?3, descr = ?4, script = ?5, author_name = ?6,
                          author_mail = ?7, lcid = ?8, app_guid = ?9, app_ver = ?10, universal = ?11, public = ?12,
                          created = ?13 WHERE id = ?1)sql")
            .Bind(1, d.Id).Bind(2, d.Title).Bind(3, TitleKey(d.Title)).Bind(4, d.Descr).Bind(5, d.Script)
            .Bind(6, d.AuthorName).Bind(7, d.AuthorMail).Bind(8, d.Lcid).Bind(9, d.AppGuid).Bind(10, d.AppVer)
            .Bind(11, d.Universal ? 1 : 0).Bind(12, d.Public ? 1 : 0).Bind(13, now)
            .Step(&taken);
        return !taken;
    }

    void SetRating(const TRateWrite& r, const std::string& mailKey, std::int64_t now) override
    {
        if (r.Value == 0) {
            m_s.prepare("DELETE FROM ratings WHERE script_id = ?1 AND mail_key = ?2").Bind(1, r.ScriptId).Bind(2, mailKey).Run();
            return;
        }
        m_s.prepare(R"sql(INSERT INTO ratings (script_id, mail_key, author_name, lcid, app_guid, app_ver, rate, notes, created)
                          VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)
                          ON CONFLICT (script_id, mail_key) DO UPDATE SET author_name = excluded.author_name,
                          lcid = excluded.lcid, app_guid = excluded.app_guid, app_ver = excluded.app_ver,
                          rate = excluded.rate, notes = excluded.notes, created = excluded.created)sql")
            .Bind(1, r.ScriptId).Bind(2, mailKey).Bind(3, r.AuthorName).Bind(4, r.Lcid).Bind(5, r.AppGuid)
            .Bind(6, r.AppVer).Bind(7, r.Value).Bind(8, r.Notes).Bind(9, now)
            .Run();
    }

    std::int64_t InsertSystem(const TSystemWrite& d, const std::string& mailKey, std::int64_t now) override
    {
        const TSystemEntry& i = d.Info;
        m_s.prepare(R"sql(INSERT INTO systems (nums, olap, comb_len, csize, title, descr, combs, url, author_name,
                          author_mail, mail_key, lcid, app_guid, app_ver, created)
                          VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15))sql")
            .Bind(1, i.Nums).Bind(2, i.Olap).Bind(3, i.CombLen).Bind(4, i.CSize).Bind(5, i.Title).Bind(6, i.Descr)
            .Bind(7, d.Combs).Bind(8, i.Url).Bind(9, i.AuthorName).Bind(10, i.AuthorMail).Bind(11, mailKey)
            .Bind(12, d.Lcid).Bind(13, d.AppGuid).Bind(14, d.AppVer).Bind(15, now)
            .Run();
        return sqlite3_last_insert_rowid(m_s.m_db);
    }

    void UpdateSystem(const TSystemWrite& d, std::int64_t now) override
    {
        const TSystemEntry& i = d.Info;
        m_s.prepare(R"sql(UPDATE systems SET nums = ?2, olap = ?3, comb_len = ?4, csize = ?5, title = ?6, descr = ?7,
                          combs = ?8, url = ?9, author_name = ?10, author_mail = ?11, lcid = ?12, app_guid = ?13,
                          app_ver = ?14, created = ?15 WHERE id = ?1)sql")
            .Bind(1, i.Id).Bind(2, i.Nums).Bind(3, i.Olap).Bind(4, i.CombLen).Bind(5, i.CSize).Bind(6, i.Title)
            .Bind(7, i.Descr).Bind(8, d.Combs).Bind(9, i.Url).Bind(10, i.AuthorName).Bind(11, i.AuthorMail)
            .Bind(12, d.Lcid).Bind(13, d.AppGuid).Bind(14, d.AppVer).Bind(15, now)
            .Run();
    }

    void Delete(TEntryKind kind, std::int64_t id) override
    {
        m_s.prepare(kind == TEntryKind::Script ? "DELETE FROM scripts WHERE id = ?1" : "DELETE FROM systems WHERE id = ?1")
            .Bind(1, id).Run();
    }

private:
    TSqliteStorage& m_s;
};

TWriteResult TSqliteStorage::Write(const TWriteWork& work)
{
    std::lock_guard lock(m_mutex);
    Transaction t(*this);
    Writer w(*this);
    const TWriteResult r = work(w);
    if (r.State == TWriteResult::Status::Done) t.Commit();
    return r;
}

} // namespace kv::server
