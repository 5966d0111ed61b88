#pragma once
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QSpinBox>
#include <QStringList>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/commandnames.h"
#include "app/formhelp.h"
#include "app/formmain.h"
#include "app/views/combsview.h"
#include "app/views/drawsview.h"
#include "app/views/statsview.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/stakes/stakerecord.h"
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

// The window's view of type V (each is made once); a missing one ends the test program.
template <typename V>
V* viewOf(const TFormMain& window)
{
    V* view = window.findChild<V*>();
    if (!view) qFatal("the window has no %s", V::staticMetaObject.className());
    return view;
}

// The draws view's list and its offset box.
inline QTableView* drawList(const TFormMain& window)
{
    return viewOf<DrawsView>(window)->findChild<QTableView*>(QString::fromLatin1(DrawsView::ListName));
}
inline QSpinBox* drawsOffset(const TFormMain& window)
{
    return viewOf<DrawsView>(window)->findChild<QSpinBox*>(QStringLiteral("DrawsOffset"));
}

// The window settings as the window has written them so far.
inline kv::workspace::FormSettings savedSettings(TFormMain& window)
{
    return kv::workspace::FormSettings(window.workspace().FormFilePath());
}

// The tab widget that holds `page`.
inline QTabWidget* tabsOf(const QWidget* page)
{
    for (QWidget* w = page ? page->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) return tabs;
    qFatal("the page is on no tab");
}

// The window's two tab widgets: the lists on the left, the work on the right.
inline QTabWidget* leftTabs(const TFormMain& window)
{
    return tabsOf(viewOf<CombsView>(window));
}
inline QTabWidget* rightTabs(const TFormMain& window)
{
    return tabsOf(viewOf<StatsView>(window));
}

// The help window, once F1 has made it.
inline TFormHelp* helpWindow(const TFormMain& window)
{
    return window.findChild<TFormHelp*>();
}

// The interface language the window runs in: the checked entry of its language menu (0: none).
inline int interfaceLanguage(const TFormMain& window)
{
    const std::string prefix = cmd::Language(0).substr(0, cmd::Language(0).size() - 1);
    for (const QAction* a : window.findChild<QMenu*>(cmd::menu::Language)->actions())
        if (a->isChecked()) return a->objectName().mid(static_cast<int>(prefix.size())).toInt();
    return 0;
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

// A prize table that makes every profit easy to tell apart: 4 hits win 50, 8 hits 1000, a
// stake costs 10.
inline const StartFiles::value_type HitPrizes{"Kvanta_8x20.ini",
                                              "[STAKES]\r\nCost=10\r\nProfits=2\r\nProfit_0_Overlap=4\r\n"
                                              "Profit_0_Profit=50\r\nProfit_1_Overlap=8\r\nProfit_1_Profit=1000\r\n"};

// An unchecked manual stake on the draw with exactly `hits` of its numbers: the first `hits`
// drawn numbers and then numbers that were not drawn.
inline kv::stakes::TStakeRecord StakeWithHits(const kv::game::TDrawsArray& draws, int drawNo, int hits,
                                              const std::string& comment)
{
    const kv::game::TDraw& draw = draws[static_cast<std::size_t>(drawNo - 1)];
    std::vector<int> drawn(draw.Nums.begin(), draw.Nums.end());
    std::vector<int> nums(drawn.begin(), drawn.begin() + hits);
    for (int n = 1; n <= 20 && static_cast<int>(nums.size()) < 8; ++n)
        if (std::find(drawn.begin(), drawn.end(), n) == drawn.end()) nums.push_back(n);
    std::sort(nums.begin(), nums.end());
    kv::stakes::TStakeRecord r;
    r.Version = 2;
    r.Origin = kv::stakes::OriginManual;
    r.DrawNo = drawNo;
    r.Stake.Count = 8;
    for (int i = 0; i < 8; ++i) r.Stake.Nums[i] = static_cast<uint8_t>(nums[i]);
    r.Matched.Count = -1;
    r.Profit = kv::util::Currency::FromUnits(-10);
    r.Comment = comment;
    return r;
}

// The stakes file of the data folder holding `records`.
inline StartFiles::value_type StakesFile(const std::vector<kv::stakes::TStakeRecord>& records)
{
    std::string bytes;
    for (const kv::stakes::TStakeRecord& r : records) {
        std::string rec(kv::stakes::TStakeRecord::RecordSize, '\0');
        r.Write(reinterpret_cast<uint8_t*>(rec.data()));
        bytes += rec;
    }
    return {"Kvanta_8x20.lsk", bytes};
}

// The main window of a test, shown and initialised: in a fresh data folder with `draws` seeded
// draws (none: no archive file) and `files`, or in a folder the test has prepared (a second
// start sees what the first one left). The folder outlives the window. The start neither asks
// about nor starts a download unless the folder's .frm names DownloadDrawsOnStart: tests never
// reach for the operator's real site.
class StartedWindow {
    std::optional<kv::test::TempDir> m_own;

public:
    explicit StartedWindow(int drawCount, int firstDrawNo = 1) : StartedWindow(drawCount, StartFiles{}, firstDrawNo) {}
    StartedWindow(int drawCount, const StartFiles& files, int firstDrawNo = 1) : dir(m_own.emplace())
    {
        if (drawCount > 0) draws = SeedArchive(dir, drawCount, firstDrawNo);
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
