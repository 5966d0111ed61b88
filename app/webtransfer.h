#pragma once
#include <atomic>
#include <functional>
#include <string>

#include "core/online/drawdownload.h"
#include "net/httpclient.h"

// Runs work on another thread and keeps the window's events going until it is done; its
// failure is rethrown here.
std::string offThread(const std::function<std::string()>& work);

// The program's network access for the draw download. Each request runs on a thread of its own
// while the window's thread waits in an event loop, so the window repaints and its Cancel
// answers however long a page takes; the Cancel reaches curl through the abort check. The page
// client lives as long as this object, and with it the cookies.
class TWebTransfer {
public:
    explicit TWebTransfer(const std::atomic<bool>& cancel);

    kv::online::TWebAccess access();

private:
    const std::atomic<bool>& m_cancel;
    kv::net::PageClient m_pages;
};
