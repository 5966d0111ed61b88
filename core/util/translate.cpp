#include "core/util/translate.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <vector>

namespace kv::util {

namespace {

struct Lookup {
    std::atomic<bool> active{false};   // a lookup is set: Russian runs never wait for the lock
    std::mutex mutex;
    std::function<std::string(std::string_view)> fn;
    // Translations made so far: callers keep the pointers, and map nodes never move.
    std::map<std::string, std::string, std::less<>> cache;
    // The translations of lookups set before: a caption taken under one of them still points
    // into its map, so a map is retired, never freed (a run sets its language once or twice).
    std::vector<std::map<std::string, std::string, std::less<>>> retired;
};

Lookup& lookup()
{
    static Lookup l;
    return l;
}

} // namespace

void SetTextLookup(std::function<std::string(std::string_view russian)> fn)
{
    Lookup& l = lookup();
    const std::lock_guard lock(l.mutex);
    l.fn = std::move(fn);
    l.active = static_cast<bool>(l.fn);
    if (!l.cache.empty()) l.retired.push_back(std::move(l.cache));
    l.cache.clear();
}

const char* TrText(const char* russian)
{
    Lookup& l = lookup();
    // Like templates: a Russian run (every headless one) never waits for the lock.
    if (!l.active || !russian) return russian;
    const std::lock_guard lock(l.mutex);
    if (!l.fn) return russian;
    auto it = l.cache.find(std::string_view(russian));
    if (it == l.cache.end()) {
        std::string text = l.fn(russian);
        it = l.cache.emplace(russian, text.empty() ? std::string(russian) : std::move(text)).first;
    }
    return it->second.c_str();
}

std::string_view TrTemplate(std::string_view russian)
{
    Lookup& l = lookup();
    // Latin templates (codes, keys, numbers) are never translated and never wait for the lock.
    if (!l.active || std::all_of(russian.begin(), russian.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return russian;
    const std::lock_guard lock(l.mutex);
    if (!l.fn) return russian;
    auto it = l.cache.find(russian);
    if (it == l.cache.end()) {
        std::string text = l.fn(russian);
        it = l.cache.emplace(std::string(russian), text.empty() ? std::string(russian) : std::move(text)).first;
    }
    return it->second;
}

} // namespace kv::util
