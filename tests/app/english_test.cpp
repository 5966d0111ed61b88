// The English interface: every text of the main window and of the windows its commands open
// comes from the language module. The data of this walk (synthetic draws, Latin scenario lines)
// holds no Cyrillic, so any Cyrillic text found is one the module missed.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QAbstractAxis>
#include <QAbstractSeries>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formcatalog.h"
#include "app/formexport.h"
#include "app/formfilter.h"
#include "app/formfirstrun.h"
#include "app/formhelp.h"
#include "app/formregular.h"
#include "app/formsurvival.h"
#include "app/language.h"
#include "app/views/catalogview.h"
#include "app/views/systemsview.h"
#include "core/shell/shell.h"
#include "core/stakes/regulars.h"
#include "core/stakes/stakerecord.h"
#include "core/stats/statlist.h"
#include "core/util/xlsxfile.h"
#include "tests/app/apptest.h"

using namespace kv;

namespace {

bool HasCyrillic(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x400 && c.unicode() <= 0x4FF) return true;
    return false;
}

// Collects the Cyrillic texts a user can see in a window, each with where it was found.
class TextWalk {
public:
    QStringList found;

    void add(const QString& where, const QString& text)
    {
        if (!HasCyrillic(text)) return;
        QString line = where + QStringLiteral(": ") + text;
        line.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        if (!m_seen.contains(text)) {
            m_seen.insert(text);
            found << line;
        }
    }

    int boxes = 0;   // message boxes walked

    void action(const QString& where, QAction* a)
    {
        if (a->isSeparator()) return;
        add(where + QStringLiteral(" action"), a->text());
        add(where + QStringLiteral(" tooltip"), a->toolTip());
        add(where + QStringLiteral(" status tip"), a->statusTip());
        if (a->menu()) menu(where, a->menu());
    }

    void menu(const QString& where, QMenu* m)
    {
        if (m_menus.contains(m)) return;
        m_menus.insert(m);
        add(where + QStringLiteral(" menu"), m->title());
        for (QAction* a : m->actions()) action(where + QStringLiteral(" > ") + m->title(), a);
    }

    void model(const QString& where, const QAbstractItemModel* m)
    {
        if (!m) return;
        for (int c = 0; c < m->columnCount(); ++c)
            for (int role : {Qt::DisplayRole, Qt::ToolTipRole})
                add(where + QStringLiteral(" column"), m->headerData(c, Qt::Horizontal, role).toString());
        // The first rows show the kinds of texts a list has; the rest repeat them.
        const int rows = std::min(m->rowCount(), 40);
        for (int r = 0; r < rows; ++r) {
            for (int role : {Qt::DisplayRole, Qt::ToolTipRole})
                add(where + QStringLiteral(" row"), m->headerData(r, Qt::Vertical, role).toString());
            for (int c = 0; c < m->columnCount(); ++c)
                for (int role : {Qt::DisplayRole, Qt::ToolTipRole})
                    add(where + QStringLiteral(" cell"), m->index(r, c).data(role).toString());
        }
    }

    void chart(const QString& where, QChart* chart)
    {
        add(where + QStringLiteral(" chart title"), chart->title());
        for (QAbstractSeries* s : chart->series()) add(where + QStringLiteral(" series"), s->name());
        for (QAbstractAxis* axis : chart->axes()) add(where + QStringLiteral(" axis"), axis->titleText());
        for (QLegendMarker* marker : chart->legend()->markers()) add(where + QStringLiteral(" legend"), marker->label());
    }

    void widget(QWidget* root)
    {
        const QString where = root->objectName().isEmpty() ? QString::fromLatin1(root->metaObject()->className())
                                                           : root->objectName();
        QList<QWidget*> all = root->findChildren<QWidget*>();
        all.prepend(root);
        for (QWidget* w : all) {
            // Help pages stay Russian; typed texts are the user's.
            if (qobject_cast<QTextBrowser*>(w->parentWidget()) || qobject_cast<QTextBrowser*>(w)) continue;
            if (w->isWindow()) add(where + QStringLiteral(" title"), w->windowTitle());
            add(where + QStringLiteral(" tooltip"), w->toolTip());
            add(where + QStringLiteral(" status tip"), w->statusTip());
            for (QAction* a : w->actions()) action(where, a);
            if (auto* l = qobject_cast<QLabel*>(w)) add(where + QStringLiteral(" label"), l->text());
            if (auto* b = qobject_cast<QAbstractButton*>(w)) add(where + QStringLiteral(" button"), b->text());
            if (auto* g = qobject_cast<QGroupBox*>(w)) add(where + QStringLiteral(" group"), g->title());
            if (auto* e = qobject_cast<QLineEdit*>(w)) add(where + QStringLiteral(" placeholder"), e->placeholderText());
            if (auto* c = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < c->count(); ++i) add(where + QStringLiteral(" choice"), c->itemText(i));
            if (auto* t = qobject_cast<QTabBar*>(w))
                for (int i = 0; i < t->count(); ++i) {
                    add(where + QStringLiteral(" tab"), t->tabText(i));
                    add(where + QStringLiteral(" tab tooltip"), t->tabToolTip(i));
                }
            if (auto* v = qobject_cast<QAbstractItemView*>(w)) model(where, v->model());
            if (auto* c = qobject_cast<QChartView*>(w)) chart(where, c->chart());
            if (auto* m = qobject_cast<QMenu*>(w)) menu(where, m);
            if (auto* bar = qobject_cast<QMenuBar*>(w))
                for (QAction* a : bar->actions()) action(where, a);
        }
    }

private:
    QSet<QString> m_seen;
    QSet<QMenu*> m_menus;
};

// Walks every modal window as it comes up and closes it the way a user who declines would.
class ModalWalker : public QObject {
public:
    explicit ModalWalker(TextWalk& walk) : m_walk(walk)
    {
        m_timer.setInterval(15);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        m_walk.widget(modal);
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++m_walk.boxes;
            QAbstractButton* no = box->button(QMessageBox::No);
            if (!no) no = box->button(QMessageBox::Cancel);
            if (!no) no = box->button(QMessageBox::Ok);
            if (no) no->click();
            else box->reject();
        } else if (auto* progress = qobject_cast<QProgressDialog*>(modal)) {
            progress->cancel();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }
    TextWalk& m_walk;
    QTimer m_timer;
};

} // namespace

class EnglishTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        std::filesystem::copy_file(KV_LANGUAGE_MODULE, module(), std::filesystem::copy_options::overwrite_existing);
    }
    void cleanupTestCase() { std::filesystem::remove(module()); }

    void everyTextComesFromTheModule()
    {
        test::TempDir dir;
        SeedArchive(dir, 120);
        test::WriteBytes(dir / "Kvanta_8x20.lss", "FULL:0#RAND| | | | | | | |Idea\r\n");
        // Unchecked stakes and a prize table: the stakes, rating and chart commands have rows to work on.
        test::WriteBytes(dir / "Kvanta_8x20.ini", "[STAKES]\r\nCost=10\r\nProfits=1\r\nProfit_0_Overlap=4\r\n"
                                                  "Profit_0_Profit=50\r\n");
        std::string stakes;
        for (int drawNo : {100, 101, 102, 110}) {
            stakes::TStakeRecord r;
            r.Version = 2;
            r.Origin = stakes::OriginManual;
            r.DrawNo = drawNo;
            r.Stake.Count = 8;
            for (int i = 0; i < 8; ++i) r.Stake.Nums[static_cast<std::size_t>(i)] = static_cast<uint8_t>(2 * i + 1);
            r.Matched.Count = -1;
            r.Comment = drawNo % 2 ? "Odd" : "Even";
            std::string record(stakes::TStakeRecord::RecordSize, '\0');
            r.Write(reinterpret_cast<uint8_t*>(record.data()));
            stakes += record;
        }
        test::WriteBytes(dir / "Kvanta_8x20.lsk", stakes);
        const workspace::FormSettings frm(dir / "Kvanta_8x20.frm");
        frm.WriteInt("Language", 1033);
        // The start asks whether to download: the question is part of the walk.
        frm.WriteInt("DownloadDrawsOnStart", 0);
        TextWalk walk;
        StartedWindow* started = nullptr;
        {
            ModalWalker modals(walk);
            started = new StartedWindow(dir);
        }
        std::unique_ptr<StartedWindow> sw(started);
        QVERIFY(sw->ok);
        TFormMain& w = *sw->window;
        QCOMPARE(interfaceLanguage(w), 1033);
        // Every tab shown, each brought to the front once so that it fills.
        w.updateActions();
        for (QAction* a : w.commands().actions())
            if (a->objectName().startsWith(QStringLiteral("Tab")) && a->isCheckable() && !a->isChecked()) a->trigger();
        for (QTabWidget* tabs : {leftTabs(w), rightTabs(w)})
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                QCoreApplication::processEvents();
            }
        // The catalogue and the systems with an entry of each kind.
        online::tScriptInfo mine, shared;
        mine.Mine = mine.Editable = true;
        mine.Universal = true;
        mine.Lcid = 1049;
        shared.MyRating = -1;
        viewOf<CatalogView>(w)->model()->setEntries({mine, shared});
        online::tSystemInfo system;
        system.Nums = 9;
        viewOf<SystemsView>(w)->model()->setSystems({system}, "tester@example.org");
        walk.widget(&w);
        // Found by id, the submenu is there whatever the captions say.
        QVERIFY(w.menuBar()->findChild<QMenu*>(cmd::menu::ExtendedStats));
        for (QMenu* m : w.findChildren<QMenu*>()) walk.menu(QStringLiteral("menu"), m);

        // Every command that opens a window, declined.
        StartProgramInstance = [](const QString&, const QStringList&, const QString&) { return true; };
        // Selecting all 125970 combinations opens nothing and slows every later command.
        const QStringList skipped = {cmd::ExitProgram, cmd::CombsSelectAll};
        // Twice: the first pass checks the stakes and fills the rating that later commands use;
        // each pass starts with the first row of every list selected.
        for (int pass = 0; pass < 2; ++pass) {
            for (QTableView* list : w.findChildren<QTableView*>())
                if (list->model() && list->model()->rowCount() > 0 && list->isVisible()) list->selectRow(0);
            ModalWalker modals(walk);
            for (QAction* a : w.commands().actions()) {
                const QString name = a->objectName();
                if (skipped.contains(name) || name.startsWith(QStringLiteral("Language")) ||
                    name.startsWith(QStringLiteral("Tab")))
                    continue;
                w.updateActions();
                if (!a->isEnabled()) continue;
                const QWidgetList before = QApplication::topLevelWidgets();
                a->trigger();
                QCoreApplication::processEvents();
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (!before.contains(top) && top->isVisible()) {
                        walk.widget(top);
                        top->close();
                    }
                if (w.hasEnded()) break;
            }
        }
        StartProgramInstance = nullptr;
        // A second start in the same folder is refused with a message box.
        const int boxes = walk.boxes;
        {
            ModalWalker modals(walk);
            TFormMain second(dir.path(), workspace::CommandLine{});
            second.show();
            QVERIFY(QTest::qWaitFor([&second] { return second.hasEnded(); }, 10000));
        }
        QCOMPARE(walk.boxes, boxes + 1);
        // The failure message has a length limit; the log has every text.
        for (const QString& line : walk.found) qInfo().noquote() << line;
        QVERIFY2(walk.found.isEmpty(),
                 qPrintable(QStringLiteral("%1 Russian texts:\n").arg(walk.found.size()) + walk.found.join(u'\n')));
    }

    // The windows that the walk above cannot reach without a catalogue, a first start or a test
    // run, each made as those make it.
    void windowsOutsideTheWalk()
    {
        QVERIFY(InstallLanguage(1033, QCoreApplication::applicationFilePath().toStdString()).empty());
        TWindowTextTranslator translator;
        qApp->installEventFilter(&translator);
        test::TempDir dir;
        shell::ConsoleShell shell;
        stats::TStatList list;
        list.BuildMethodList();
        online::tScriptData script;
        script.AuthorName = "Tester";
        online::tSystemData system;
        system.Title = "System";
        system.Nums = 9;
        system.Olap = 7;
        scenario::TSurvivalRow survived;
        survived.PartText = "FULL:0#RAND";
        survived.Tests = 5;
        std::vector<std::unique_ptr<QWidget>> windows;
        windows.emplace_back(new TFormScriptProps(script, QStringLiteral("Kvanta_8x20"), [](TFormScriptProps&) { return true; }));
        windows.emplace_back(new TFormScriptProps(script, QStringLiteral("Kvanta_8x20"), nullptr));
        windows.emplace_back(new TFormRates({{"Tester", 4, 0, "Kvanta_8x20", "1", "Fine"}}));
        windows.emplace_back(new TFormSystem(system, true));
        windows.emplace_back(new TFormSystem(system, false));
        windows.emplace_back(new TFormExportOptions(util::TExportOptions{}, QStringLiteral("Архив тиражей")));
        windows.emplace_back(new TFormFirstRun([] {}));
        windows.emplace_back(new TFormRegular(shell, stakes::TRegularRecord{}, std::nullopt, 0, 10, {}));
        windows.emplace_back(new TFormFilter(list, shell, 0, 100));
        windows.emplace_back(new TFormSurvival({survived}, shell, dir.path()));
        windows.emplace_back(new TFormHelp(QStringLiteral(KV_SOURCE_DIR "/help/Kvanta_8x20_RUS/index.html")));
        TextWalk walk;
        for (const auto& window : windows) {
            window->show();
            QCoreApplication::processEvents();
            walk.widget(window.get());
            window->close();
        }
        qApp->removeEventFilter(&translator);
        for (const QString& line : walk.found) qInfo().noquote() << line;
        QVERIFY2(walk.found.isEmpty(),
                 qPrintable(QStringLiteral("%1 Russian texts:\n").arg(walk.found.size()) + walk.found.join(u'\n')));
    }

private:
    std::filesystem::path module() const
    {
        return std::filesystem::path(QCoreApplication::applicationFilePath().toStdString() + "_ENU.lng");
    }
};

QTEST_MAIN(EnglishTest)
#include "english_test.moc"
