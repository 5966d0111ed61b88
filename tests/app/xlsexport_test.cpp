#include <QCheckBox>
#include <QProgressDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formexport.h"
#include "app/formmain.h"
#include "app/formsurvival.h"
#include "app/views/catalogview.h"
#include "app/views/layoutview.h"
#include "app/views/regularsview.h"
#include "app/views/repeatsview.h"
#include "app/views/systemsview.h"
#include "app/views/weekview.h"
#include "core/stakes/regulars.h"
#include "core/workspace/listexport.h"
#include "app/qtshell.h"
#include "app/xlsexport.h"
#include "core/util/xlsxfile.h"
#include "tests/app/apptest.h"
#include "tests/support/support.h"
#include "tests/support/xlsxread.h"

using namespace kv;

class XlsExportTest : public QObject {
    Q_OBJECT

private slots:
    void drawsExportRemembersItsChoices();
    void optionsDialogChangesTheSheet();
    void exportCommandsAreInTheMenus();
    void cancelledExportKeepsTheOlderFile();
    void listsExportAsShown();
};

namespace {

void typeFileName(QFileDialog* dialog, const std::filesystem::path& path)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(qs(path.string()));
}

// A written row of `columns` cells (all up to the first empty one without): texts as they are,
// numbers as "=value", nothing written as "".
std::vector<std::string> sheetRow(const test::XlsxSheet& sheet, int row, std::size_t columns = 0)
{
    std::vector<std::string> r;
    for (int c = 0; columns == 0 || r.size() < columns; ++c) {
        const auto cell = sheet.Cells.find(test::CellRef(row, c));
        if (cell == sheet.Cells.end() && columns == 0) break;
        r.push_back(cell == sheet.Cells.end() ? std::string()
                    : cell->second.Number    ? "=" + QString::number(*cell->second.Number).toStdString()
                                             : cell->second.Text);
    }
    return r;
}

// Exports through the list's own "Экспорт в Microsoft Excel" (a window command, or the action of a
// dialog's list) into `file`.
void exportList(TFormMain& w, QTableView* view, const QString& name, const std::filesystem::path& file)
{
    w.updateActions();
    QAction* action = w.commands().command(name);
    if (!action) action = view->findChild<QAction*>(name);
    QVERIFY2(action && action->isEnabled(), qPrintable(name));
    // Reachable from the list's context menu.
    bool inMenu = view->actions().contains(action);
    for (const QMenu* menu : view->window()->findChildren<QMenu*>()) inMenu = inMenu || menu->actions().contains(action);
    QVERIFY2(inMenu, qPrintable(name));
    onNextDialog<QFileDialog>([&](QFileDialog* d) {
        typeFileName(d, file);
        static_cast<QDialog*>(d)->accept();
    });
    action->trigger();
}

} // namespace

void XlsExportTest::drawsExportRemembersItsChoices()
{
    StartedWindow sw(30);
    QVERIFY(sw.ok);
    QStringList opened;
    OpenExportedFile = [&opened](const QString& file) {
        opened << file;
        return true;
    };
    std::filesystem::create_directories(sw.dir / "выгрузка");
    const auto file = sw.dir / "выгрузка" / "тиражи.xlsx";
    QString title;
    onNextDialog<QFileDialog>([&](QFileDialog* d) {
        title = d->windowTitle();
        auto* open = d->findChild<QCheckBox*>(QStringLiteral("OpenAfter"));
        QVERIFY(open);
        QVERIFY(!open->isChecked());
        open->setChecked(true);
        typeFileName(d, file);
        static_cast<QDialog*>(d)->accept();
    });
    sw.window->updateActions();
    sw.window->command(cmd::DrawsXlsExport)->trigger();
    QCOMPARE(title, QStringLiteral("Экспорт в Microsoft Excel"));
    QCOMPARE(opened, QStringList{qs(file.string())});
    const test::XlsxSheet read = test::ReadXlsx(file);
    QCOMPARE(read.Cells.at("A1").Text, std::string("Архив тиражей"));
    QCOMPARE(read.Cells.at("L3").Text, std::string("Дата тиража"));
    // Newest first, as the list shows them.
    QCOMPARE(*read.Cells.at("A4").Number, double(sw.draws.back().DrawNo));
    QCOMPARE(*read.Cells.at(test::CellRef(3 + 29, 0)).Number, double(sw.draws.front().DrawNo));

    const util::TExportOptions saved = util::LoadExportOptions(sw.dir / "Kvanta_8x20_Draws.exp");
    QVERIFY(saved.OpenAfter);
    QCOMPARE(saved.Folder, (sw.dir / "выгрузка").string());

    // The next export starts in that folder with the box ticked; cancelling writes nothing.
    QString directory;
    bool ticked = false;
    onNextDialog<QFileDialog>([&](QFileDialog* d) {
        directory = d->directory().absolutePath();
        ticked = d->findChild<QCheckBox*>(QStringLiteral("OpenAfter"))->isChecked();
        typeFileName(d, sw.dir / "other.xlsx");
        d->reject();
    });
    sw.window->command(cmd::DrawsXlsExport)->trigger();
    QCOMPARE(directory, qs((sw.dir / "выгрузка").string()));
    QVERIFY(ticked);
    QVERIFY(!std::filesystem::exists(sw.dir / "other.xlsx"));
    OpenExportedFile = nullptr;
}

void XlsExportTest::optionsDialogChangesTheSheet()
{
    StartedWindow sw(10);
    QVERIFY(sw.ok);
    const auto file = sw.dir / "rating.xlsx";
    onNextDialog<QFileDialog>([&](QFileDialog* d) {
        onNextDialog<TFormExportOptions>([](TFormExportOptions* o) {
            o->findChild<QLineEdit*>(QStringLiteral("Title"))->setText(QStringLiteral("Тиражи за месяц"));
            o->findChild<QLineEdit*>(QStringLiteral("Note"))->setText(QStringLiteral("для клуба"));
            o->findChild<QSpinBox*>(QStringLiteral("FontSize"))->setValue(14);
            o->accept();
        });
        d->findChild<QPushButton*>(QStringLiteral("ExportOptions"))->click();
        typeFileName(d, file);
        static_cast<QDialog*>(d)->accept();
    });
    sw.window->updateActions();
    sw.window->command(cmd::DrawsXlsExport)->trigger();
    const test::XlsxSheet read = test::ReadXlsx(file);
    QCOMPARE(read.Name, std::string("Тиражи за месяц"));
    QCOMPARE(read.Cells.at("A1").Text, std::string("Тиражи за месяц"));
    QCOMPARE(read.Cells.at("A2").Text, std::string("для клуба"));
    QCOMPARE(read.Cells.at("A4").Text, std::string("Тираж"));
    const util::TExportOptions saved = util::LoadExportOptions(sw.dir / "Kvanta_8x20_Draws.exp");
    QCOMPARE(saved.FontSize, 14);
    QCOMPARE(saved.Title, std::string("Тиражи за месяц"));
}

void XlsExportTest::exportCommandsAreInTheMenus()
{
    StartedWindow sw(10);
    QVERIFY(sw.ok);
    QVERIFY(sw.window->commands().missingNames().isEmpty());
    QStringList inMenus;
    for (QAction* top : sw.window->menuBar()->actions())
        if (top->menu())
            for (QAction* a : top->menu()->actions()) inMenus << a->objectName();
    for (const char* name : {cmd::DrawsXlsExport, cmd::DrawsStatExportToExcel, cmd::CombsXlsExport, cmd::StakesXlsExport, cmd::RatingsXlsExport})
        QVERIFY2(inMenus.contains(QString::fromLatin1(name)), name);
    // An empty rating and an empty stakes file have nothing to export.
    sw.window->updateActions();
    QVERIFY(!sw.window->command(cmd::RatingsXlsExport)->isEnabled());
    QVERIFY(!sw.window->command(cmd::StakesXlsExport)->isEnabled());
    QVERIFY(sw.window->command(cmd::CombsXlsExport)->isEnabled());
}

// The full combination list is written with a progress window; "Отмена" there stops it, and the
// older file of that name stays as it was.
void XlsExportTest::cancelledExportKeepsTheOlderFile()
{
    StartedWindow sw(30);
    QVERIFY(sw.ok);
    const auto file = sw.dir / "комбинации.xlsx";
    test::WriteBytes(file, "old bytes");
    onNextDialog<QFileDialog>([&](QFileDialog* d) {
        typeFileName(d, file);
        static_cast<QDialog*>(d)->accept();
    });
    QString label, cancel;
    onNextDialog<QProgressDialog>([&](QProgressDialog* d) {
        label = d->labelText();
        cancel = d->findChild<QPushButton*>()->text();
        d->cancel();
    });
    MessageBoxAnswerer answerer(QMessageBox::Yes);   // an overwrite question, if asked
    sw.window->updateActions();
    sw.window->command(cmd::CombsXlsExport)->trigger();
    QCOMPARE(label, QStringLiteral("Экспорт в Microsoft Excel..."));
    QCOMPARE(cancel, QStringLiteral("Отмена"));
    QCOMPARE(test::ReadBytes(file), std::string("old bytes"));
    QVERIFY(!std::filesystem::exists(file.string() + ".tmp~"));
    QVERIFY(!sw.window->shell().ProgressIsOpen());
    QCOMPARE(sw.window->workspace().Combs().Count(), kv::game::CombCount);
}

// The lists the core does not hand over as texts go out as shown: the header row as captioned
// and the first row, numbers as numbers.
void XlsExportTest::listsExportAsShown()
{
    stakes::TRegularRecord regular;
    regular.Name = "Идея";
    regular.Start = regular.Current = {1, 2, 3, 4, 5, 6, 7, 8};
    regular.Step = 1;
    regular.Count = 3;
    std::string regularBytes(stakes::TRegularRecord::RecordSize, '\0');
    regular.Write(reinterpret_cast<uint8_t*>(regularBytes.data()));
    StartedWindow sw(60, StartFiles{{stakes::TRegulars::FileName, regularBytes}});
    QVERIFY(sw.ok);
    TFormMain& w = *sw.window;
    const auto show = [&w](const char* tab) {
        w.updateActions();
        if (!w.command(tab)->isChecked()) w.command(tab)->trigger();
    };
    online::tScriptInfo script;
    script.Title = "Сценарий";
    script.AuthorName = "Автор";
    script.AppName = "Kvanta_8x20";
    script.Lcid = 1049;
    script.RatingAvg = 4.5;
    script.RatingCount = 2;
    script.Downloads = 7;
    online::tSystemInfo system;
    system.Title = "Система";
    system.AuthorName = "Автор";
    system.Nums = 9;
    system.Olap = 7;
    system.CSize = 36;
    system.Url = "http://127.0.0.1/s";
    scenario::TSurvivalRow survived;
    survived.PartText = "FULL:0#RAND";
    survived.Tests = 10;
    survived.Survived = 4;
    survived.Rate = 0.4;
    survived.KeptShare = 0.5;
    survived.Lift = 0.8;
    survived.Low = 0.17;
    survived.High = 0.69;
    TFormSurvival survival({survived}, w.shell(), sw.dir.path());
    const workspace::FormSettings frm = savedSettings(w).WithSection(TFormRepeats::Section);
    TFormRepeats repeats(w.workspace().Draws(), w.shell(), frm);
    repeats.compute();

    struct Case {
        const char* list;
        const char* action;
        std::string title;
        std::function<QTableView*()> fill;
        std::vector<std::string> header, first;   // empty first: as the view shows it
    };
    const std::vector<Case> cases = {
        {workspace::ExportList::Regulars,
         cmd::TablesXlsExport,
         "Регуляры",
         [&] {
             show(cmd::TabTables);
             return viewOf<RegularsView>(w)->view();
         },
         {"Комментарий", "Стартовая комбинация", "Шаг", "Текущая комбинация", "Ставок"},
         {"Идея", "1;2;3;4;5;6;7;8", "=1", "1;2;3;4;5;6;7;8", "=3"}},
        {workspace::ExportList::Catalogue,
         cmd::ScriptLibraryXlsExport,
         "Каталог сценариев",
         [&] {
             viewOf<CatalogView>(w)->model()->setEntries({script});
             return viewOf<CatalogView>(w)->view();
         },
         {"Тип", "Название", "Автор", "Программа", "Версия", "Язык", "Создан", "Рейтинг", "Оценок", "Ваша оценка",
          "Загрузок", "Последняя", "Комментарии"},
         {"Общий", "Сценарий", "Автор", "Kvanta_8x20", "", "Русский", "", "=4.5", "=2", "", "=7", "", ""}},
        {workspace::ExportList::Systems,
         cmd::SystemsXlsExport,
         "Системы",
         [&] {
             viewOf<SystemsView>(w)->model()->setSystems({system}, "me@example.org");
             return viewOf<SystemsView>(w)->view();
         },
         {"Название", "Автор", "Числа", "Блок", "Комбинаций", "Дата создания", "Статус", "Загрузок", "Последняя",
          "Комментарии", "Ссылка"},
         {"Система", "Автор", "=9", "=7", "=36", "", "", "=0", "", "", "http://127.0.0.1/s"}},
        {workspace::ExportList::Survival,
         "SurvivalXlsExport",
         "Эффективность фильтров",
         [&] { return survival.table(); },
         {"Фильтр", "Тестов", "Выжил", "Выживаемость, %", "Доля оставленных, %", "Лифт", "Нижняя граница 95%, %",
          "Верхняя граница 95%, %"},
         {"FULL:0#RAND", "=10", "=4", "=40", "=50", "=0.8", "=17", "=69"}},
        {workspace::ExportList::Week,
         cmd::WeekXlsExport,
         "Неделя",
         [&] {
             show(cmd::TabWeek);
             return viewOf<WeekView>(w)->table();
         },
         {"", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "17", "18", "19",
          "20"},
         {}},
        {workspace::ExportList::LayoutCompare,
         "LayoutCompare1XlsExport",
         "Сравнение 1",
         [&] {
             show(cmd::TabLayout);
             return viewOf<LayoutView>(w)->list(0);
         },
         {"Кол-во", std::to_string(sw.draws[10].DrawNo) + " - " + std::to_string(sw.draws.back().DrawNo)}, {}},
        {workspace::ExportList::Repeats,
         "RepeatsXlsExport",
         "Повторы",
         [&] { return repeats.list(); },
         {"Тираж", "Совпадений", "Кол-во повторов", "Список тиражей"},
         {}},
    };
    // The first row as the view shows it, its whole numbers as numbers.
    const auto shownRow = [](QTableView* view) {
        std::vector<std::string> r;
        if (!view->verticalHeader()->isHidden())
            r.push_back(view->model()->headerData(0, Qt::Vertical).toString().toStdString());
        for (int c = 0; c < view->model()->columnCount(); ++c) {
            const QString text = view->model()->index(0, c).data().toString();
            bool whole = false;
            text.toInt(&whole);
            // Appended rather than "=" + text: GCC 12 sees a false overlap in the concatenation.
            std::string cell = whole ? "=" : "";
            cell += text.toStdString();
            r.push_back(cell);
        }
        return r;
    };
    for (const Case& c : cases) {
        QTableView* view = c.fill();
        QVERIFY2(view->model()->rowCount() > 0, c.list);
        const auto file = sw.dir / (std::string(c.list) + ".xlsx");
        exportList(w, view, QString::fromLatin1(c.action), file);
        const test::XlsxSheet read = test::ReadXlsx(file);
        QCOMPARE(read.Cells.at("A1").Text, c.title);
        QCOMPARE(sheetRow(read, 2, c.header.size()), c.header);
        QCOMPARE(sheetRow(read, 3, c.header.size()), c.first.empty() ? shownRow(view) : c.first);
    }
}

QTEST_MAIN(XlsExportTest)
#include "xlsexport_test.moc"
