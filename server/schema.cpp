#include "server/schema.h"

namespace kv::server {

const std::vector<std::string_view>& SchemaMigrations()
{
    static const std::vector<std::string_view> steps = {
        // 1: users tied to their secret keys, scenarios with ratings, play systems.
        R"sql(
CREATE TABLE users (
    mail_key TEXT PRIMARY KEY,
    secret   TEXT NOT NULL,
    created  INTEGER NOT NULL
);
CREATE TABLE scripts (
    id            INTEGER PRIMARY KEY AUTOINCREMENT,
    title         TEXT NOT NULL,
    title_key     TEXT NOT NULL UNIQUE,
    descr         TEXT NOT NULL,
    script        TEXT NOT NULL,
    author_name   TEXT NOT NULL,
    author_mail   TEXT NOT NULL,
    mail_key      TEXT NOT NULL,
    lcid          INTEGER NOT NULL,
    app_guid      TEXT NOT NULL,
    app_ver       TEXT NOT NULL,
    universal     INTEGER NOT NULL,
    public        INTEGER NOT NULL,
    created       INTEGER NOT NULL,
    downloads     INTEGER NOT NULL DEFAULT 0,
    last_download INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX scripts_by_mail ON scripts(mail_key);
CREATE TABLE ratings (
    script_id   INTEGER NOT NULL REFERENCES scripts(id) ON DELETE CASCADE,
    mail_key    TEXT NOT NULL,
    author_name TEXT NOT NULL,
    lcid        INTEGER NOT NULL,
    app_guid    TEXT NOT NULL,
    app_ver     TEXT NOT NULL,
    rate        INTEGER NOT NULL CHECK (rate BETWEEN -1 AND 5 AND rate <> 0),
    notes       TEXT NOT NULL,
    created     INTEGER NOT NULL,
    PRIMARY KEY (script_id, mail_key)
);
CREATE INDEX ratings_by_mail ON ratings(mail_key);
CREATE TABLE systems (
    id            INTEGER PRIMARY KEY AUTOINCREMENT,
    nums          INTEGER NOT NULL CHECK (nums BETWEEN 9 AND 20),
    olap          INTEGER NOT NULL CHECK (olap BETWEEN 0 AND 7),
    comb_len      INTEGER NOT NULL,
    csize         INTEGER NOT NULL,
    title         TEXT NOT NULL,
    descr         TEXT NOT NULL,
    combs         TEXT NOT NULL,
    url           TEXT NOT NULL,
    author_name   TEXT NOT NULL,
    author_mail   TEXT NOT NULL,
    mail_key      TEXT NOT NULL,
    lcid          INTEGER NOT NULL,
    app_guid      TEXT NOT NULL,
    app_ver       TEXT NOT NULL,
    created       INTEGER NOT NULL,
    downloads     INTEGER NOT NULL DEFAULT 0,
    last_download INTEGER NOT NULL DEFAULT 0
);
)sql",
    };
    return steps;
}

} // namespace kv::server
