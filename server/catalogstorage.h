#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv::server {

// What the catalogue keeps, independent of the database behind it. Texts are UTF-8 as the
// users typed them (escapes already undone); times are Unix seconds, UTC; 0 means never.

struct TScriptEntry {
    std::int64_t Id = 0;
    std::string AuthorName, AuthorMail;
    int Lcid = 0;
    std::string AppGuid, AppVer;
    bool Universal = false, Public = true;
    std::int64_t Created = 0;
    double RatingAvg = 0;
    int RatingCount = 0;
    int MyRating = 0;  // the asking user's: 0 none, 1..5, -1 hidden
    int Downloads = 0;
    std::int64_t LastDownload = 0;
    std::string Title, Descr;
};

// A publication: Id <= 0 adds an entry, a positive Id replaces that entry.
struct TScriptWrite {
    std::int64_t Id = -1;
    std::string AuthorName, AuthorMail;
    int Lcid = 0;
    std::string AppGuid, AppVer;
    bool Universal = false, Public = true;
    std::string Title, Descr, Script;
};

struct TRateEntry {
    std::string AuthorName;
    int Rate = 0;
    std::int64_t Created = 0;
    std::string AppGuid, AppVer, Notes;
};

// Value 0 removes the user's rating, -1 hides the entry from him, 1..5 rates it.
struct TRateWrite {
    std::int64_t ScriptId = 0;
    std::string AuthorName, AuthorMail;
    int Lcid = 0;
    std::string AppGuid, AppVer;
    int Value = 0;
    std::string Notes;
};

struct TSystemEntry {
    std::int64_t Id = 0;
    int Nums = 0, Olap = 0, CombLen = 8, CSize = 0;
    std::string Title, Descr, AuthorName, AuthorMail, Url;
    std::int64_t Created = 0;
    int Downloads = 0;
    std::int64_t LastDownload = 0;
};

struct TSystemWrite {
    TSystemEntry Info;  // Info.Id <= 0 adds a system
    int Lcid = 0;
    std::string AppGuid, AppVer;
    std::string Combs;  // one combination per line, as published
};

// The catalogue filters by the number the program sends (fltid).
enum class TScriptFilter {
    Hidden = -1,     // only the entries the user hid
    All = 0,         // including hidden
    NotHidden = 1,   // the default
    Mine = 2,
    Public = 3,
    Rated = 4,       // rated 1..5 by the user
    Unrated = 5,
    New = 6,         // published during the last 24 hours
};

// The outcome of a change. Every change names the user by e-mail and secret key: the first key
// seen with an e-mail is tied to it, and a change with another key is refused before anything
// is written. A refused or failed change leaves the store as it was.
struct TWriteResult {
    enum class Status { Done, NotFound, NotOwner, KeyMismatch, TitleTaken };
    Status State = Status::Done;
    std::int64_t Id = 0;
};

enum class TEntryKind { Script, System };

// Who an entry belongs to (the mail key of its author) and whether everybody sees it.
struct TEntryOwner {
    std::string MailKey;
    bool Public = true;
};

// The steps of one write transaction. Who may take them is decided by the caller (the service),
// never here: these only read and write.
class TCatalogWriter {
public:
    virtual ~TCatalogWriter() = default;
    // The key tied to the mail key; `key` is tied to it first when none is. Of two first
    // requests racing each other, one key wins and both see it.
    virtual std::string TieKey(const std::string& mailKey, const std::string& key, std::int64_t now) = 0;
    // The entry's owner, locked against other changes until the transaction ends; nothing for an
    // unknown id.
    virtual std::optional<TEntryOwner> Owner(TEntryKind kind, std::int64_t id) = 0;
    // The new entry's id; nothing when its title is taken.
    virtual std::optional<std::int64_t> InsertScript(const TScriptWrite& data, const std::string& mailKey,
                                                     std::int64_t now) = 0;
    // Replaces the entry data.Id; false when the new title is another entry's.
    virtual bool UpdateScript(const TScriptWrite& data, std::int64_t now) = 0;
    // Value 0 removes the user's rating of the entry.
    virtual void SetRating(const TRateWrite& rate, const std::string& mailKey, std::int64_t now) = 0;
    virtual std::int64_t InsertSystem(const TSystemWrite& data, const std::string& mailKey, std::int64_t now) = 0;
    virtual void UpdateSystem(const TSystemWrite& data, std::int64_t now) = 0;
    virtual void Delete(TEntryKind kind, std::int64_t id) = 0;
};

// A change: steps on the writer, and the outcome. It may run more than once (after a broken link
// or a lost conflict the store starts it again on a fresh transaction), so it does nothing but
// call the writer.
using TWriteWork = std::function<TWriteResult(TCatalogWriter&)>;

// A page of the list: at most `Limit` entries after the first `Offset`, and no further entry once
// the titles and descriptions of those taken hold `Bytes` (the first entry is always taken), so
// that long descriptions cannot make a page of any size.
struct TPage {
    std::int64_t Offset = 0;
    std::int64_t Limit = 1000;
    std::int64_t Bytes = INT64_MAX;
};

// One page of a list, and whether further entries pass its filter.
template <class T>
struct TListPage {
    std::vector<T> Entries;
    bool More = false;
};
using TScriptPage = TListPage<TScriptEntry>;
using TSystemPage = TListPage<TSystemEntry>;

// What an entry counts against a page's `Bytes`: its texts that may be long.
inline std::int64_t PageBytes(const TScriptEntry& e) { return static_cast<std::int64_t>(e.Title.size() + e.Descr.size()); }
inline std::int64_t PageBytes(const TSystemEntry& e)
{
    return static_cast<std::int64_t>(e.Title.size() + e.Descr.size() + e.Url.size());
}

// The store behind the server. Implementations are safe to call from several threads at once.
// Database failures are thrown as std::runtime_error.
class TCatalogStorage {
public:
    virtual ~TCatalogStorage() = default;

    // The layout version of the database: the number of migration steps it went through.
    virtual int SchemaVersion() = 0;

    // Entries the user may see (public ones and his own) that pass the filter, newest first,
    // one page of them.
    virtual TScriptPage ListScripts(TScriptFilter filter, const std::string& mail, std::int64_t now,
                                    TPage page = {}) = 0;
    // The scenario text; counts the download. Nothing for an unknown id.
    virtual std::optional<std::string> FetchScript(std::int64_t id, std::int64_t now) = 0;
    // Whether another entry than `exceptId` carries the title (compared by TitleKey).
    virtual bool ScriptTitleTaken(std::int64_t exceptId, const std::string& title) = 0;
    // Ratings 1..5 of an entry, oldest first (hidden marks are nobody else's business).
    virtual std::vector<TRateEntry> ListRates(std::int64_t id) = 0;

    // Systems of `combLen` numbers over at most `maxNums`, by their numbers and then by age, one
    // page of them.
    virtual TSystemPage ListSystems(int combLen, int maxNums, TPage page = {}) = 0;
    virtual std::optional<std::string> FetchSystem(std::int64_t id, std::int64_t now) = 0;

    // Runs `work` in one transaction, committed when it returns Done and rolled back otherwise.
    virtual TWriteResult Write(const TWriteWork& work) = 0;
};

// E-mails compare without regard to case: the key of ownership.
std::string MailKey(const std::string& mail);
// Titles compare trimmed and without regard to case (Latin and Cyrillic letters).
std::string TitleKey(const std::string& title);

} // namespace kv::server
