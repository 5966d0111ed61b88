#pragma once
#include <string_view>
#include <vector>

namespace kv::server {

// The database layout as a list of steps: step i brings a database of version i to version
// i + 1 (the version is SQLite's user_version). A new column or table is a new step at the end;
// steps already published are never edited.
const std::vector<std::string_view>& SchemaMigrations();

// The same layout for PostgreSQL, step for step; the version is kept in the table
// kvanta_schema, which the server creates before the first step.
const std::vector<std::string_view>& PgSchemaMigrations();

} // namespace kv::server
