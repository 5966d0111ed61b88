#pragma once
#include <QObject>
#include <QString>
#include <memory>

#include "core/online/drawdownload.h"
#include "core/online/online.h"

class QtShell;
class QWidget;
class TCommandSet;
class TWebTransfer;
namespace kv::stats {
class TStatList;
}
namespace kv::workspace {
class Workspace;
}

// The draw download and what it needs: the proxy, the lottery site's address and the choice of
// downloading at start. The stakes grid learns of the checked stakes through the workspace's
// announcement and the rating view from its rating, so nothing here knows a view.
class DownloadCommands : public QObject {
public:
    DownloadCommands(kv::workspace::Workspace& ws, kv::stats::TStatList& stats, QtShell& shell, TCommandSet& commands,
                     QWidget* window);
    ~DownloadCommands() override;

    void createCommands();
    // Checks the start-download mode the settings hold.
    void restoreSettings();
    // Reads the proxy settings and opens the network access; no download runs before.
    void open();
    // The download at start, as the settings and the restart of this run want it.
    void startupDownload(bool restarted);

    // True while the download runs (its wait window is up).
    bool isDownloading() const { return m_downloading; }
    const kv::online::TDownloadResult& lastDownload() const { return m_lastDownload; }
    // The window is to close: a running download lives on its call stack, so it is cancelled and
    // the window closes after it. True when the close has to wait for that.
    bool holdClose();

private:
    void drawsDownload();
    void openLotoSite();
    void autoDownload(int mode);
    void editProxy();
    // "Адрес сайта лотереи"; `why` says what the address is needed for. True when one was saved.
    bool editOperatorUrl(const QString& why = {});
    // The online addresses; without an operator's address the user is asked for one first.
    kv::online::TOnlineUrls operatorUrls();

    kv::workspace::Workspace& m_ws;
    kv::stats::TStatList& m_stats;
    QtShell& m_shell;
    TCommandSet& m_commands;
    QWidget* m_window;
    std::unique_ptr<TWebTransfer> m_web;
    bool m_downloading = false;
    bool m_closeAfterDownload = false;
    kv::online::TDownloadResult m_lastDownload;
};
