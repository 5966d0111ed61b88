#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/formmain.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/workspace/formsettings.h"
#include "tests/support/support.h"

// Answers the message boxes that the code under test opens: each is recorded and closed with
// the given button (OK for plain messages).
class MessageBoxAnswerer : public QObject {
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) : m_answer(answer)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }
    QStringList texts;
    QStringList captions;

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        texts << box->text();
        captions << box->windowTitle();
        QAbstractButton* button = box->button(m_answer);
        if (!button) button = box->button(QMessageBox::Ok);
        if (button) button->click();
        else box->done(0);
    }
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

// Runs `act` on the next modal dialog of type T as soon as it is up.
template <typename T, typename F>
void onNextDialog(F act)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

// Writes an archive of `count` seeded synthetic draws, numbered from `firstDrawNo`, into the
// data folder, and returns them.
inline kv::game::TDrawsArray SeedArchive(const kv::test::TempDir& dir, int count, int firstDrawNo = 1)
{
    kv::game::TDrawsArray draws = kv::archive::SyntheticDraws(count, 77, firstDrawNo);
    kv::archive::WriteArchiveFile(dir / kv::archive::ArchiveFileName, draws);
    return draws;
}

// Files a test puts in the data folder before the start: the name below the folder, the bytes.
using StartFiles = std::vector<std::pair<std::string, std::string>>;

// The main window of a test, shown and initialised: in a fresh data folder with `draws` seeded
// draws (none: no archive file) and `files`, or in a folder the test has prepared (a second
// start sees what the first one left). The folder outlives the window. The start neither asks
// about nor starts a download unless the folder's .frm names DownloadDrawsOnStart: tests never
// reach for the operator's real site.
class StartedWindow {
    std::optional<kv::test::TempDir> m_own;

public:
    explicit StartedWindow(int draws, int firstDrawNo = 1) : StartedWindow(draws, StartFiles{}, firstDrawNo) {}
    StartedWindow(int draws, const StartFiles& files, int firstDrawNo = 1) : dir(m_own.emplace())
    {
        if (draws > 0) this->draws = SeedArchive(dir, draws, firstDrawNo);
        for (const auto& [name, bytes] : files) {
            std::filesystem::create_directories((dir / name).parent_path());
            kv::test::WriteBytes(dir / name, bytes);
        }
        start();
    }
    explicit StartedWindow(const kv::test::TempDir& folder) : dir(folder) { start(); }

    const kv::test::TempDir& dir;
    kv::game::TDrawsArray draws;   // the seeded draws
    std::unique_ptr<TFormMain> window;
    bool ok = false;   // the window came up initialised in time

private:
    void start()
    {
        const kv::workspace::FormSettings frm(dir / "Kvanta_8x20.frm");
        if (frm.ReadString("DownloadDrawsOnStart", "") == "") frm.WriteInt("DownloadDrawsOnStart", 2);
        window = std::make_unique<TFormMain>(dir.path(), kv::workspace::CommandLine{});
        window->show();
        ok = QTest::qWaitFor([this] { return window->isInitialised(); }, 20000);
    }
};
