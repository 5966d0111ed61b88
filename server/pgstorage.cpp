#include "server/pgstorage.h"

#include <libpq-fe.h>

#include <algorithm>
#include <concepts>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>

#include "server/schema.h"

namespace kv::server {

namespace {

// The link to the database broke (or could not be made): the request may go again on a fresh
// connection, since nothing of it was committed.
class LinkLost : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The database rolled the transaction back to break a deadlock or a serialization conflict.
class Conflict : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr const char* UniqueViolation = "23505";

// A statement parameter in PostgreSQL's text form.
struct Param {
    std::string Text;
    Param(const std::string& s) : Text(s) {}  // NOLINT: parameters are written inline
    Param(const char* s) : Text(s) {}         // NOLINT
    template <std::integral T>
    Param(T v) : Text(std::to_string(static_cast<long long>(v)))  // NOLINT
    {
    }
};

class Result {
public:
    explicit Result(PGresult* r, std::string state = {}) : m_r(r), m_state(std::move(state)) {}
    ~Result() { PQclear(m_r); }
    Result(Result&& o) noexcept : m_r(o.m_r), m_state(std::move(o.m_state)) { o.m_r = nullptr; }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;

    // The SQLSTATE of an error the caller said it handles itself; empty on success.
    const std::string& State() const { return m_state; }
    int Rows() const { return m_state.empty() ? PQntuples(m_r) : 0; }
    std::string Text(int row, int col) const
    {
        return std::string(PQgetvalue(m_r, row, col), static_cast<std::size_t>(PQgetlength(m_r, row, col)));
    }
    std::int64_t Int(int row, int col) const { return std::strtoll(PQgetvalue(m_r, row, col), nullptr, 10); }
    int Small(int row, int col) const { return static_cast<int>(Int(row, col)); }
    double Real(int row, int col) const { return std::strtod(PQgetvalue(m_r, row, col), nullptr); }

private:
    PGresult* m_r;
    std::string m_state;
};

// libpq's messages end in a newline and may carry a hint on a second line: one log line each.
std::string oneLine(std::string why)
{
    while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
    std::string out;
    for (const char ch : why) {
        if (ch == '\n' || ch == '\t') {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += ch;
        }
    }
    return out;
}

bool isLinkFailure(PGconn* c, const char* state)
{
    // No SQLSTATE means libpq itself gave up on the socket; class 08 is a connection exception
    // and 57P01..57P03 a server going down or not yet up.
    return PQstatus(c) != CONNECTION_OK || !state || std::strncmp(state, "08", 2) == 0 ||
           std::strncmp(state, "57P0", 4) == 0;
}

} // namespace

// One connection with the statements already prepared on it.
class TPgStorage::Connection {
public:
    explicit Connection(PGconn* c) : m_c(c) {}
    ~Connection() { PQfinish(m_c); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Fit to go back to the pool: connected and outside any transaction.
    bool Reusable() const { return PQstatus(m_c) == CONNECTION_OK && PQtransactionStatus(m_c) == PQTRANS_IDLE; }

    // Runs `sql` with the parameters; an error whose SQLSTATE is in `handled` comes back in the
    // result instead of being thrown.
    Result Run(const char* sql, std::initializer_list<Param> params, std::initializer_list<const char*> handled = {})
    {
        auto [it, fresh] = m_prepared.try_emplace(sql);
        if (fresh) {
            const std::string name = "k" + std::to_string(m_prepared.size());
            PGresult* p = PQprepare(m_c, name.c_str(), sql, static_cast<int>(params.size()), nullptr);
            if (PQresultStatus(p) != PGRES_COMMAND_OK) {
                m_prepared.erase(it);
                raise(p, "cannot prepare a statement");
            }
            PQclear(p);
            it->second = name;
        }
        std::vector<const char*> values;
        values.reserve(params.size());
        for (const Param& p : params) values.push_back(p.Text.c_str());
        PGresult* r = PQexecPrepared(m_c, it->second.c_str(), static_cast<int>(values.size()), values.data(), nullptr,
                                     nullptr, 0);
        const ExecStatusType status = PQresultStatus(r);
        if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) return Result(r);
        const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
        for (const char* h : handled)
            if (state && std::strcmp(state, h) == 0) return Result(r, state);
        raise(r, "database statement failed");
    }

    // A statement without parameters: transaction control and the layout's steps.
    void Exec(const std::string& sql)
    {
        PGresult* r = PQexec(m_c, sql.c_str());
        if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)
            raise(r, "database statement failed");
        PQclear(r);
    }

private:
    // Throws the failure in `r` (which it frees) as LinkLost, Conflict or std::runtime_error.
    [[noreturn]] void raise(PGresult* r, const std::string& context) const
    {
        const char* s = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
        const std::string state = s ? s : "";
        std::string why = r ? PQresultErrorMessage(r) : "";
        PQclear(r);
        if (why.empty()) why = PQerrorMessage(m_c);
        const std::string what = context + ": " + oneLine(why);
        if (isLinkFailure(m_c, s ? state.c_str() : nullptr)) throw LinkLost(what);
        if (state == "40001" || state == "40P01") throw Conflict(what);
        throw std::runtime_error(what);
    }

    PGconn* m_c;
    std::map<const char*, std::string> m_prepared;  // by the address of the statement's text
};

// A connection borrowed from the pool for one request; it goes back when the request ends,
// unless it broke or was left inside a transaction.
class TPgStorage::Lease {
public:
    explicit Lease(TPgStorage& s) : m_s(s)
    {
        std::unique_lock lock(m_s.m_mutex);
        m_s.m_released.wait(lock, [&] { return !m_s.m_idle.empty() || m_s.m_open < m_s.m_options.PoolSize; });
        if (!m_s.m_idle.empty()) {
            m_c = std::move(m_s.m_idle.back());
            m_s.m_idle.pop_back();
            return;
        }
        ++m_s.m_open;
        lock.unlock();
        try {
            m_c = m_s.connect();
        } catch (...) {
            lock.lock();
            --m_s.m_open;
            m_s.m_released.notify_one();
            throw;
        }
    }
    ~Lease()
    {
        std::lock_guard lock(m_s.m_mutex);
        if (m_c && m_c->Reusable()) m_s.m_idle.push_back(std::move(m_c));
        else if (m_c) --m_s.m_open;
        m_c.reset();
        m_s.m_released.notify_all();
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    // The link broke: the idle connections most likely went with it (a restarted server), so
    // they are closed too rather than handed to the retry.
    void DropAll()
    {
        std::lock_guard lock(m_s.m_mutex);
        m_s.m_open -= static_cast<int>(m_s.m_idle.size()) + 1;
        m_s.m_idle.clear();
        m_c.reset();
    }
    Connection& operator*() { return *m_c; }

private:
    TPgStorage& m_s;
    std::unique_ptr<Connection> m_c;
};

namespace {

// BEGIN .. COMMIT; leaving the scope before Commit() rolls back, so a refused or failed change
// leaves the database as it was.
class Transaction {
public:
    explicit Transaction(TPgStorage::Connection& c) : m_c(c) { m_c.Exec("BEGIN"); }
    ~Transaction()
    {
        if (m_done) return;
        try {
            m_c.Exec("ROLLBACK");
        } catch (const std::exception&) {
            // A connection that cannot roll back is not reused (see Lease).
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit()
    {
        m_done = true;
        try {
            m_c.Exec("COMMIT");
        } catch (const LinkLost& e) {
            // The change may or may not have been written: running it again could write it
            // twice, so the request fails instead of being retried.
            throw std::runtime_error(std::string("the link to the database broke while committing: ") + e.what());
        }
    }

private:
    TPgStorage::Connection& m_c;
    bool m_done = false;
};

} // namespace

template <class F>
auto TPgStorage::run(F&& work)
{
    int linkRetries = 1, conflictRetries = 5;
    for (;;) {
        try {
            Lease lease(*this);
            try {
                return work(*lease);
            } catch (const LinkLost&) {
                lease.DropAll();
                throw;
            }
        } catch (const LinkLost& e) {
            if (linkRetries-- == 0) throw std::runtime_error(std::string("the database cannot be reached: ") + e.what());
        } catch (const Conflict&) {
            if (conflictRetries-- == 0) throw;
        }
    }
}

std::unique_ptr<TPgStorage::Connection> TPgStorage::connect()
{
    // The defaults come first: what the address itself sets wins over them.
    const std::string connectTimeout = std::to_string(m_options.ConnectTimeoutSeconds);
    // A plan made for each call's own values: a list page planned once for any filter and any
    // offset sorts the whole table (over 100 ms instead of 2 on 100,000 entries).
    const std::string options = "-c plan_cache_mode=force_custom_plan -c statement_timeout=" +
                                std::to_string(m_options.StatementTimeoutMs) +
                                " -c idle_in_transaction_session_timeout=" +
                                std::to_string(m_options.StatementTimeoutMs * 2);
    // A server that vanished without closing the socket is noticed within this many ms.
    const std::string userTimeout = std::to_string(m_options.StatementTimeoutMs + 5000);
    const char* keys[] = {"connect_timeout", "options", "tcp_user_timeout", "application_name", "client_encoding",
                          "dbname", nullptr};
    const char* values[] = {connectTimeout.c_str(), options.c_str(), userTimeout.c_str(), "kvanta-catalog", "UTF8",
                            m_url.c_str(), nullptr};
    PGconn* c = PQconnectdbParams(keys, values, 1);
    if (!c) throw LinkLost("out of memory for a database connection");
    auto conn = std::make_unique<Connection>(c);
    if (PQstatus(c) != CONNECTION_OK) {
        throw LinkLost("cannot connect to the database: " + oneLine(PQerrorMessage(c)));
    }
    // Notices (such as "already exists, skipping") are not the log's business.
    PQsetNoticeProcessor(c, [](void*, const char*) {}, nullptr);
    return conn;
}

TPgStorage::TPgStorage(std::string url, TOptions options) : m_url(std::move(url)), m_options(options)
{
    if (m_options.PoolSize < 1) m_options.PoolSize = 1;
    run([&](Connection& c) {
        migrate(c);
        return 0;
    });
}

TPgStorage::~TPgStorage() = default;

void TPgStorage::migrate(Connection& c)
{
    const auto& steps = PgSchemaMigrations();
    Transaction t(c);
    // Several servers starting at once on a new database: one migrates, the others wait for it
    // here and then find nothing left to do.
    c.Run("SELECT pg_advisory_xact_lock(824508200)", {});
    c.Exec("CREATE TABLE IF NOT EXISTS kvanta_schema (version INTEGER NOT NULL)");
    Result r = c.Run("SELECT version FROM kvanta_schema", {});
    int version = r.Rows() ? r.Small(0, 0) : 0;
    if (!r.Rows()) c.Run("INSERT INTO kvanta_schema (version) VALUES (0)", {});
    if (version > static_cast<int>(steps.size()))
        throw std::runtime_error("the database was written by a newer server (schema version " +
                                 std::to_string(version) + ")");
    for (; version < static_cast<int>(steps.size()); ++version) {
        c.Exec(std::string(steps[static_cast<std::size_t>(version)]));
        c.Run("UPDATE kvanta_schema SET version = $1", {version + 1});
    }
    t.Commit();
}

int TPgStorage::SchemaVersion()
{
    return run([](Connection& c) {
        Result r = c.Run("SELECT version FROM kvanta_schema", {});
        return r.Rows() ? r.Small(0, 0) : 0;
    });
}

namespace {

// The rows of a statement asked for one entry past `page` and cut by its bytes, whose column
// `followed` tells whether a row came after each in the page: at most the page's count of
// entries, and `More` when the last was followed.
template <class T, class Read>
TListPage<T> pageOf(const Result& r, int followed, const TPage& page, Read read)
{
    TListPage<T> out;
    const int rows = r.Rows();
    out.More = rows > page.Limit || (rows > 0 && r.Text(rows - 1, followed) == "t");
    const int kept = static_cast<int>(std::min<std::int64_t>(rows, page.Limit));
    out.Entries.reserve(static_cast<std::size_t>(kept));
    for (int i = 0; i < kept; ++i) out.Entries.push_back(read(i));
    return out;
}

std::int64_t pastPage(const TPage& page) { return std::min<std::int64_t>(page.Limit, INT64_MAX - 1) + 1; }

// The page is picked in the order of an index; the running size of its titles and descriptions
// (read from the stored lengths, not the texts) cuts it short; the ratings are counted for the
// entries kept, one lookup each.
const char* const ListScriptsSql = R"sql(
WITH page AS (
SELECT s.id, s.author_name, s.author_mail, s.lcid, s.app_guid, s.app_ver, s.universal, s.public, s.created,
       COALESCE(me.rate, 0) AS mine, s.downloads, s.last_download, s.title, s.descr,
       octet_length(s.title) + octet_length(s.descr) AS size
FROM scripts s
LEFT JOIN ratings me ON me.script_id = s.id AND me.mail_key = $1::text
WHERE (s.public = 1 OR s.mail_key = $1::text)
  AND CASE $2::integer
        WHEN -1 THEN COALESCE(me.rate, 0) = -1
        WHEN 0 THEN TRUE
        WHEN 1 THEN COALESCE(me.rate, 0) <> -1
        WHEN 2 THEN s.mail_key = $1::text
        WHEN 3 THEN s.public = 1 AND COALESCE(me.rate, 0) <> -1
        WHEN 4 THEN COALESCE(me.rate, 0) > 0
        WHEN 5 THEN COALESCE(me.rate, 0) = 0
        WHEN 6 THEN s.created >= $3::bigint - 86400 AND COALESCE(me.rate, 0) <> -1
        ELSE FALSE
      END
ORDER BY s.created DESC, s.id DESC
LIMIT $4::bigint OFFSET $5::bigint
), sized AS (
SELECT page.*, SUM(size) OVER w - size AS before, LEAD(id) OVER w IS NOT NULL AS followed
FROM page
WINDOW w AS (ORDER BY created DESC, id DESC ROWS UNBOUNDED PRECEDING)
)
SELECT p.id, p.author_name, p.author_mail, p.lcid, p.app_guid, p.app_ver, p.universal, p.public, p.created,
       COALESCE(r.average, 0), COALESCE(r.count, 0), p.mine, p.downloads, p.last_download, p.title, p.descr, p.followed
FROM sized p
LEFT JOIN LATERAL (SELECT AVG(rate)::float8 AS average, COUNT(*) AS count FROM ratings
                   WHERE script_id = p.id AND rate > 0) r ON TRUE
WHERE p.before < $6::bigint
ORDER BY p.created DESC, p.id DESC
)sql";

} // namespace

TScriptPage TPgStorage::ListScripts(TScriptFilter filter, const std::string& mail, std::int64_t now, TPage page)
{
    return run([&](Connection& c) {
        const Result r = c.Run(ListScriptsSql, {MailKey(mail), static_cast<int>(filter), now, pastPage(page),
                                                page.Offset, page.Bytes});
        return pageOf<TScriptEntry>(r, 16, page, [&](int i) {
            TScriptEntry e;
            e.Id = r.Int(i, 0);
            e.AuthorName = r.Text(i, 1);
            e.AuthorMail = r.Text(i, 2);
            e.Lcid = r.Small(i, 3);
            e.AppGuid = r.Text(i, 4);
            e.AppVer = r.Text(i, 5);
            e.Universal = r.Int(i, 6) != 0;
            e.Public = r.Int(i, 7) != 0;
            e.Created = r.Int(i, 8);
            e.RatingAvg = r.Real(i, 9);
            e.RatingCount = r.Small(i, 10);
            e.MyRating = r.Small(i, 11);
            e.Downloads = r.Small(i, 12);
            e.LastDownload = r.Int(i, 13);
            e.Title = r.Text(i, 14);
            e.Descr = r.Text(i, 15);
            return e;
        });
    });
}

// One statement reads and counts, so simultaneous downloads through any number of servers
// each add exactly one.
std::optional<std::string> TPgStorage::FetchScript(std::int64_t id, std::int64_t now)
{
    return run([&](Connection& c) -> std::optional<std::string> {
        Result r = c.Run("UPDATE scripts SET downloads = downloads + 1, last_download = $2 WHERE id = $1 RETURNING script",
                         {id, now});
        if (!r.Rows()) return std::nullopt;
        return r.Text(0, 0);
    });
}

bool TPgStorage::ScriptTitleTaken(std::int64_t exceptId, const std::string& title)
{
    return run([&](Connection& c) {
        return c.Run("SELECT 1 FROM scripts WHERE title_key = $1 AND id <> $2", {TitleKey(title), exceptId}).Rows() > 0;
    });
}

std::vector<TRateEntry> TPgStorage::ListRates(std::int64_t id)
{
    return run([&](Connection& c) {
        Result r = c.Run(R"sql(SELECT author_name, rate, created, app_guid, app_ver, notes FROM ratings
                               WHERE script_id = $1 AND rate > 0 ORDER BY created, seq)sql",
                         {id});
        std::vector<TRateEntry> out;
        for (int i = 0; i < r.Rows(); ++i)
            out.push_back({r.Text(i, 0), r.Small(i, 1), r.Int(i, 2), r.Text(i, 3), r.Text(i, 4), r.Text(i, 5)});
        return out;
    });
}

TSystemPage TPgStorage::ListSystems(int combLen, int maxNums, TPage page)
{
    return run([&](Connection& c) {
        const Result r = c.Run(R"sql(
WITH page AS (
SELECT id, nums, olap, comb_len, csize, title, descr, author_name, author_mail, url, created, downloads,
       last_download, octet_length(title) + octet_length(descr) + octet_length(url) AS size
FROM systems WHERE comb_len = $1 AND nums <= $2 ORDER BY nums, id LIMIT $3 OFFSET $4
), sized AS (
SELECT page.*, SUM(size) OVER w - size AS before, LEAD(id) OVER w IS NOT NULL AS followed
FROM page
WINDOW w AS (ORDER BY nums, id ROWS UNBOUNDED PRECEDING)
)
SELECT id, nums, olap, comb_len, csize, title, descr, author_name, author_mail, url, created, downloads,
       last_download, followed
FROM sized WHERE before < $5 ORDER BY nums, id)sql",
                               {combLen, maxNums, pastPage(page), page.Offset, page.Bytes});
        return pageOf<TSystemEntry>(r, 13, page, [&](int i) {
            TSystemEntry e;
            e.Id = r.Int(i, 0);
            e.Nums = r.Small(i, 1);
            e.Olap = r.Small(i, 2);
            e.CombLen = r.Small(i, 3);
            e.CSize = r.Small(i, 4);
            e.Title = r.Text(i, 5);
            e.Descr = r.Text(i, 6);
            e.AuthorName = r.Text(i, 7);
            e.AuthorMail = r.Text(i, 8);
            e.Url = r.Text(i, 9);
            e.Created = r.Int(i, 10);
            e.Downloads = r.Small(i, 11);
            e.LastDownload = r.Int(i, 12);
            return e;
        });
    });
}

std::optional<std::string> TPgStorage::FetchSystem(std::int64_t id, std::int64_t now)
{
    return run([&](Connection& c) -> std::optional<std::string> {
        Result r = c.Run("UPDATE systems SET downloads = downloads + 1, last_download = $2 WHERE id = $1 RETURNING combs",
                         {id, now});
        if (!r.Rows()) return std::nullopt;
        return r.Text(0, 0);
    });
}

namespace {

// The steps of a change on one connection, inside the transaction Write() opened. Rows are
// locked as they are read (FOR UPDATE), so two servers changing one entry take turns; the
// uniqueness of titles, of the key tied to an e-mail and of one rating per user is the unique
// indexes', so of two servers racing each other only one can win.
class PgWriter : public TCatalogWriter {
public:
    explicit PgWriter(TPgStorage::Connection& c) : m_c(c) {}

    // Two requests racing with the same new e-mail both try the insert: the second waits for
    // the first and then reads the key that won.
    std::string TieKey(const std::string& mailKey, const std::string& key, std::int64_t now) override
    {
        m_c.Run("INSERT INTO users (mail_key, secret, created) VALUES ($1, $2, $3) ON CONFLICT (mail_key) DO NOTHING",
                {mailKey, key, now});
        Result r = m_c.Run("SELECT secret FROM users WHERE mail_key = $1", {mailKey});
        return r.Rows() == 1 ? r.Text(0, 0) : std::string();
    }

    std::optional<TEntryOwner> Owner(TEntryKind kind, std::int64_t id) override
    {
        Result r = m_c.Run(kind == TEntryKind::Script ? "SELECT mail_key, public FROM scripts WHERE id = $1 FOR UPDATE"
                                                      : "SELECT mail_key, 1 FROM systems WHERE id = $1 FOR UPDATE",
                           {id});
        if (!r.Rows()) return std::nullopt;
        return TEntryOwner{r.Text(0, 0), r.Int(0, 1) != 0};
    }

    std::optional<std::int64_t> InsertScript(const TScriptWrite& d, const std::string& mailKey, std::int64_t now) override
    {
        Result r = m_c.Run(R"sql(INSERT INTO scripts (title, title_key, descr, script, author_name, author_mail,
                                 mail_key, lcid, app_guid, app_ver, universal, public, created)
                                 VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13) RETURNING id)sql",
                           {d.Title, TitleKey(d.Title), d.Descr, d.Script, d.AuthorName, d.AuthorMail, mailKey, d.Lcid,
                            d.AppGuid, d.AppVer, d.Universal ? 1 : 0, d.Public ? 1 : 0, now},
                           {UniqueViolation});
        if (!r.State().empty()) return std::nullopt;
        return r.Int(0, 0);
    }

    bool UpdateScript(const TScriptWrite& d, std::int64_t now) override
    {
        return m_c.Run(R"sql(UPDATE scripts SET title = $2, title_key = $3, descr = $4, script = $5,
                             author_name = $6, author_mail = $7, lcid = $8, app_guid = $9, app_ver = $10,
                             universal = $11, public = $12, created = $13 WHERE id = $1)sql",
                       {d.Id, d.Title, TitleKey(d.Title), d.Descr, d.Script, d.AuthorName, d.AuthorMail, d.Lcid,
                        d.AppGuid, d.AppVer, d.Universal ? 1 : 0, d.Public ? 1 : 0, now},
                       {UniqueViolation})
            .State()
            .empty();
    }

    // One row per (entry, user) by the primary key, written by an upsert: a user's ratings sent
    // at the same moment through two servers leave one of them, never two.
    void SetRating(const TRateWrite& r, const std::string& mailKey, std::int64_t now) override
    {
        if (r.Value == 0) {
            m_c.Run("DELETE FROM ratings WHERE script_id = $1 AND mail_key = $2", {r.ScriptId, mailKey});
            return;
        }
        m_c.Run(R"sql(INSERT INTO ratings (script_id, mail_key, author_name, lcid, app_guid, app_ver, rate, notes, created)
                      VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9)
                      ON CONFLICT (script_id, mail_key) DO UPDATE SET author_name = EXCLUDED.author_name,
                      lcid = EXCLUDED.lcid, app_guid = EXCLUDED.app_guid, app_ver = EXCLUDED.app_ver,
                      rate = EXCLUDED.rate, notes = EXCLUDED.notes, created = EXCLUDED.created)sql",
                {r.ScriptId, mailKey, r.AuthorName, r.Lcid, r.AppGuid, r.AppVer, r.Value, r.Notes, now});
    }

    std::int64_t InsertSystem(const TSystemWrite& d, const std::string& mailKey, std::int64_t now) override
    {
        const TSystemEntry& i = d.Info;
        return m_c.Run(R"sql(INSERT INTO systems (nums, olap, comb_len, csize, title, descr, combs, url, author_name,
                             author_mail, mail_key, lcid, app_guid, app_ver, created)
                             VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14, $15) RETURNING id)sql",
                       {i.Nums, i.Olap, i.CombLen, i.CSize, i.Title, i.Descr, d.Combs, i.Url, i.AuthorName,
                        i.AuthorMail, mailKey, d.Lcid, d.AppGuid, d.AppVer, now})
            .Int(0, 0);
    }

    void UpdateSystem(const TSystemWrite& d, std::int64_t now) override
    {
        const TSystemEntry& i = d.Info;
        m_c.Run(R"sql(UPDATE systems SET nums = $2, olap = $3, comb_len = $4, csize = $5, title = $6, descr = $7,
                      combs = $8, url = $9, author_name = $10, author_mail = $11, lcid = $12, app_guid = $13,
                      app_ver = $14, created = $15 WHERE id = $1)sql",
                {i.Id, i.Nums, i.Olap, i.CombLen, i.CSize, i.Title, i.Descr, d.Combs, i.Url, i.AuthorName,
                 i.AuthorMail, d.Lcid, d.AppGuid, d.AppVer, now});
    }

    void Delete(TEntryKind kind, std::int64_t id) override
    {
        m_c.Run(kind == TEntryKind::Script ? "DELETE FROM scripts WHERE id = $1" : "DELETE FROM systems WHERE id = $1",
                {id});
    }

private:
    TPgStorage::Connection& m_c;
};

} // namespace

TWriteResult TPgStorage::Write(const TWriteWork& work)
{
    return run([&](Connection& c) -> TWriteResult {
        Transaction t(c);
        PgWriter w(c);
        const TWriteResult r = work(w);
        if (r.State == TWriteResult::Status::Done) t.Commit();
        return r;
    });
}

} // namespace kv::server
