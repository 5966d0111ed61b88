#include "app/webtransfer.h"

#include <QEventLoop>
#include <exception>
#include <functional>
#include <string>
#include <thread>

std::string offThread(const std::function<std::string()>& work)
{
    std::string result;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            result = work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the quit is handled inside exec(), whenever the thread gets there.
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (failure) std::rethrow_exception(failure);
    return result;
}

TWebTransfer::TWebTransfer(const std::atomic<bool>& cancel) : m_cancel(cancel)
{
    m_pages.Client().SetAbortCheck([this] { return m_cancel.load(); });
}

kv::online::TWebAccess TWebTransfer::access()
{
    kv::online::TWebAccess web;
    web.GetPage = [this](const std::string& url, const kv::workspace::TProxyServer& proxy, bool utf8) {
        return offThread([&] { return m_pages.GetPage(url, proxy, utf8); });
    };
    web.GetText = [this](const std::string& url) {
        return offThread([&] {
            kv::net::HttpClient client;
            client.SetTimeouts(kv::net::StandAloneTimeouts());
            client.SetFollowRedirects(true);
            client.SetAbortCheck([this] { return m_cancel.load(); });
            return client.Get(url);
        });
    };
    return web;
}
