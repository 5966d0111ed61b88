#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTableView>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "app/commandnames.h"
#include "app/formfavorites.h"
#include "app/formmain.h"
#include "app/formmethodinfo.h"
#include "app/qtshell.h"
#include "app/views/statsview.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/stats/statlist.h"
#include "core/util/cp1251.h"
#include "core/util/ini.h"
#include "tests/app/apptest.h"
#include "tests/support/support.h"

using namespace kv;

class FormFavoritesTest : public QObject {
    Q_OBJECT

private slots:
    void windowTreeAndOptions();
    void commands_data();
    void commands();
    void enableRules();
    void clicksAndGroupMarks();
    void renameAndDefaultName();
    void namesExportAndImport();
    void commandsWaitWhileBusy();
    void managerOkChangesTheChoosers();
    void managerCancelChangesNothing();
    void cancelKeepsImportedNames();
    void resetAsks();
    void descriptionWindow();
};

namespace {

// The import and export get this path instead of asking with a file dialog.
void answerFiles(TFormFavorites& form, const std::filesystem::path& path)
{
    form.setFileChooser([path](bool) { return qs(path.string()); });
}

struct Registry {
    game::TDrawsArray draws;
    stats::TStatList list;
    Registry()
    {
        list.SetDraws(&draws);
        list.BuildMethodList();
    }
    int method(const char* code) const { return list.FindMethod(code); }
};

// The shell's messages, with a look at the window at the moment each is shown.
class WatchingShell : public test::ScriptedShell {
public:
    std::function<void()> onMessage;

protected:
    void doShowMessage(shell::MessageKind kind, std::string_view text) override
    {
        test::ScriptedShell::doShowMessage(kind, text);
        if (onMessage) onMessage();
    }
};

void click(QTreeWidget* view, QTreeWidgetItem* item, bool twice = false)
{
    view->scrollToItem(item);
    const QPoint at = view->visualItemRect(item).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    if (twice) {
        // The second click of a double click arrives as a double-click event.
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    }
}

QStringList chooserItems(const QComboBox* chooser)
{
    QStringList items;
    for (int i = 0; i < chooser->count(); ++i) items << chooser->itemText(i);
    return items;
}

const QString EvenName = QStringLiteral("{ num } Количество четных чисел в тираже (Ч:Н) [ NG ]");
const QString NumsName = QStringLiteral("{ num } Числа тиража [ N ]");

} // namespace

void FormFavoritesTest::windowTreeAndOptions()
{
    Registry r;
    r.list.SetFavorites("NUMS,SUMS");
    r.list.Method(r.method("SUMS")).CustomCaption = "Своя сумма";
    r.list.Ordered = true;
    r.list.ShowMethodFlags = false;
    test::TempDir dir;
    test::ScriptedShell sh;
    TFormFavorites form(r.list, dir.path(), sh);

    QCOMPARE(form.windowTitle(), QStringLiteral("Менеджер избранных методов расчета статистики"));
    QStringList labels;
    for (const QLabel* label : form.findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains(QStringLiteral("Отметьте методы расчета статистики, которые Вы хотите использовать:")));
    QCOMPARE(form.countLabel()->text(), QStringLiteral("всего 227 методов"));
    QCOMPARE(form.orderedBox()->text(), QStringLiteral("Сортировать списки по названию метода"));
    QCOMPARE(form.groupNameBox()->text(), QStringLiteral("Отображать идентификатор группы { xxx } перед названием метода"));
    QCOMPARE(form.methodFlagsBox()->text(), QStringLiteral("Отображать особенности метода [ YYY ] после названия метода"));
    QVERIFY(form.orderedBox()->isChecked());
    QVERIFY(form.groupNameBox()->isChecked());
    QVERIFY(!form.methodFlagsBox()->isChecked());
    QCOMPARE(sh.statusTexts, (std::vector<std::string>{"Подождите пожалуйста...", ""}));
    QCOMPARE(sh.BusyCount(), 0);

    // Thirteen groups in registry order, every method once, marks from the favourites.
    const QTreeWidget* view = form.treeWidget();
    QCOMPARE(view->topLevelItemCount(), 13);
    QCOMPARE(view->topLevelItem(0)->text(0), QStringLiteral("Числа тиража"));
    QCOMPARE(view->topLevelItem(1)->text(0), QStringLiteral("Сумма чисел тиража"));
    QCOMPARE(view->topLevelItem(12)->text(0), QStringLiteral("Методы шинковки"));
    int nodes = 0;
    for (int g = 0; g < view->topLevelItemCount(); ++g) {
        QVERIFY(view->topLevelItem(g)->isExpanded());
        QVERIFY(!view->topLevelItem(g)->data(0, Qt::CheckStateRole).isValid());
        nodes += view->topLevelItem(g)->childCount();
    }
    QCOMPARE(nodes, 227);
    QCOMPARE(form.methodItem(r.method("NUMS"))->checkState(0), Qt::Checked);
    QCOMPARE(form.methodItem(r.method("EVEN"))->checkState(0), Qt::Unchecked);
    QCOMPARE(form.methodItem(r.method("SUMS"))->text(0), QStringLiteral("Своя сумма"));
    QCOMPARE(form.methodItem(r.method("SUMS"))->checkState(0), Qt::Checked);
    // Shredding methods show their caption template.
    QCOMPARE(form.methodItem(r.method("SHR1"))->text(0), QStringLiteral("Метод шинковки 1: %s"));

    // The options belong to the window until OK.
    form.orderedBox()->setChecked(false);
    form.methodFlagsBox()->setChecked(true);
    QVERIFY(!form.tree().Ordered);
    QVERIFY(form.tree().ShowMethodFlags);
    QVERIFY(r.list.Ordered);
    QVERIFY(!r.list.ShowMethodFlags);
}

void FormFavoritesTest::commands_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::newRow(cmd::CheckNone) << cmd::CheckNone << "Сбросить все" << "Снять отметки со всех фильтров";
    QTest::newRow(cmd::CheckAll) << cmd::CheckAll << "Выбрать все" << "Поставить отметки у всех фильтров";
    QTest::newRow(cmd::GroupNone) << cmd::GroupNone << "Сбросить группу" << "Снять отметки со всех фильтров группы";
    QTest::newRow(cmd::GroupAll) << cmd::GroupAll << "Выбрать группу" << "Поставить отметки у всех фильтров группы";
    QTest::newRow(cmd::Rename) << cmd::Rename << "Переименовать" << "Переименовать фильтр";
    QTest::newRow(cmd::ResetName) << cmd::ResetName << "Вернуть" << "Вернуть наименование \"по умолчанию\"";
    QTest::newRow(cmd::Info) << cmd::Info << "Описание" << "Справочная информация о выделенном методе расчета статистики";
    QTest::newRow(cmd::NamesImport) << cmd::NamesImport << "Импорт названий" << "Импорт названий фильтров из файла";
    QTest::newRow(cmd::NamesExport) << cmd::NamesExport << "Экспорт названий" << "Экспорт названий фильтров в файл";
}

void FormFavoritesTest::commands()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    Registry r;
    test::TempDir dir;
    test::ScriptedShell sh;
    TFormFavorites form(r.list, dir.path(), sh);
    QAction* action = form.command(name);
    QVERIFY(action != nullptr);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->toolTip(), hint);
    QCOMPARE(action->statusTip(), hint);
    QVERIFY2(form.treeWidget()->actions().contains(action), "in the tree's context menu");
}

void FormFavoritesTest::enableRules()
{
    // Which commands are enabled with nothing, a group or a method node selected.
    struct Case {
        const char* what;
        std::function<void(TFormFavorites&, const Registry&)> select;
        QStringList enabled;
    };
    const QStringList always = {cmd::CheckNone, cmd::CheckAll, cmd::NamesImport, cmd::NamesExport};
    const QStringList group = always + QStringList{cmd::GroupNone, cmd::GroupAll};
    const QStringList method = group + QStringList{cmd::Rename, cmd::ResetName, cmd::Info};
    const std::vector<Case> cases = {
        {"nothing selected", [](TFormFavorites&, const Registry&) {}, always},
        {"a group", [](TFormFavorites& f, const Registry&) { f.treeWidget()->setCurrentItem(f.treeWidget()->topLevelItem(3)); },
         group},
        {"a method", [](TFormFavorites& f, const Registry& r) { f.treeWidget()->setCurrentItem(f.methodItem(r.method("DIFM"))); },
         method},
        {"selection cleared",
         [](TFormFavorites& f, const Registry& r) {
             f.treeWidget()->setCurrentItem(f.methodItem(r.method("DIFM")));
             f.treeWidget()->clearSelection();
         },
         always},
    };
    const QStringList all = {cmd::CheckNone, cmd::CheckAll, cmd::GroupNone, cmd::GroupAll, cmd::Rename, cmd::ResetName, cmd::Info,
                             cmd::NamesImport, cmd::NamesExport};
    for (const Case& c : cases) {
        Registry r;
        test::TempDir dir;
        test::ScriptedShell sh;
        TFormFavorites form(r.list, dir.path(), sh);
        c.select(form, r);
        QStringList enabled;
        for (const QString& name : all)
            if (form.command(name)->isEnabled()) enabled << name;
        std::sort(enabled.begin(), enabled.end());
        QStringList expected = c.enabled;
        std::sort(expected.begin(), expected.end());
        QVERIFY2(enabled == expected, qPrintable(QStringLiteral("%1: %2").arg(c.what, enabled.join(','))));
    }

    // A registry without methods gives an empty tree: nothing to mark.
    stats::TStatList empty;
    test::TempDir dir;
    test::ScriptedShell sh;
    TFormFavorites form(empty, dir.path(), sh);
    QCOMPARE(form.treeWidget()->topLevelItemCount(), 0);
    QCOMPARE(form.countLabel()->text(), QStringLiteral("всего 0 методов"));
    QVERIFY(!form.command(cmd::CheckAll)->isEnabled());
    QVERIFY(!form.command(cmd::CheckNone)->isEnabled());
    QVERIFY(form.command(cmd::NamesImport)->isEnabled());
}

void FormFavoritesTest::clicksAndGroupMarks()
{
    Registry r;
    test::TempDir dir;
    test::ScriptedShell sh;
    TFormFavorites form(r.list, dir.path(), sh);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTreeWidget* view = form.treeWidget();
    const auto mark = [&](const char* code) { return form.methodItem(r.method(code))->checkState(0) == Qt::Checked; };
    const auto treeMark = [&](const char* code) {
        for (const auto& g : form.tree().Groups())
            for (const auto& n : g.Methods)
                if (n.Method == r.method(code)) return n.Marked;
        return false;
    };

    // One click toggles the node and selects it; a second click toggles it back.
    QTreeWidgetItem* even = form.methodItem(r.method("EVEN"));
    click(view, even);
    QVERIFY(!mark("EVEN"));
    QVERIFY(!treeMark("EVEN"));
    QCOMPARE(view->selectedItems(), QList<QTreeWidgetItem*>{even});
    click(view, even);
    QVERIFY(mark("EVEN"));
    // A double click counts as both of its clicks.
    click(view, even, true);
    QVERIFY(mark("EVEN"));
    // A click on a group node marks nothing.
    click(view, view->topLevelItem(0));
    for (int n = 0; n < view->topLevelItem(0)->childCount(); ++n)
        QCOMPARE(view->topLevelItem(0)->child(n)->checkState(0), Qt::Checked);
    // Space on the current method node.
    view->setFocus();
    view->setCurrentItem(form.methodItem(r.method("SUMS")));
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(!treeMark("SUMS"));

    // Group commands act on the selected group, or on the group of the selected method.
    form.command(cmd::CheckNone)->trigger();
    QVERIFY(!mark("NUMS") && !mark("SUMS") && !mark("DIFA"));
    view->setCurrentItem(form.methodItem(r.method("SUM2")));
    form.command(cmd::GroupAll)->trigger();
    QVERIFY(mark("SUMS") && mark("S2T3"));
    QVERIFY(!mark("NUMS") && !mark("DIFA"));
    view->setCurrentItem(view->topLevelItem(0));
    form.command(cmd::GroupAll)->trigger();
    QVERIFY(mark("NUMS") && mark("KNP25"));
    form.command(cmd::GroupNone)->trigger();
    QVERIFY(!mark("NUMS") && mark("SUMS"));
    form.command(cmd::CheckAll)->trigger();
    QVERIFY(mark("NUMS") && mark("SHR3") && mark("DIFA"));
    // The registry is untouched until the window is confirmed.
    QCOMPARE(r.list.GetFavorites(), std::string());
    QVERIFY(r.list.AllFavorites);
}

void FormFavoritesTest::renameAndDefaultName()
{
    Registry r;
    r.list.Method(r.method("DIFM")).CustomCaption = "Старая";
    test::TempDir dir;
    test::ScriptedShell sh;
    TFormFavorites form(r.list, dir.path(), sh);
    QTreeWidgetItem* nums = form.methodItem(r.method("NUMS"));
    form.treeWidget()->setCurrentItem(nums);

    QString title, label, start;
    onNextDialog<QInputDialog>([&](QInputDialog* d) {
        title = d->windowTitle();
        label = d->labelText();
        start = d->textValue();
        d->setTextValue(QStringLiteral("Мои числа"));
        d->accept();
    });
    form.command(cmd::Rename)->trigger();
    QCOMPARE(title, QStringLiteral("Переименование"));
    QCOMPARE(label, QStringLiteral("Введите наименование фильтра:"));
    QCOMPARE(start, QStringLiteral("Числа тиража"));
    QCOMPARE(nums->text(0), QStringLiteral("Мои числа"));

    // Cancelling the question keeps the name, and the next one starts from the current text.
    onNextDialog<QInputDialog>([&](QInputDialog* d) {
        start = d->textValue();
        d->setTextValue(QStringLiteral("Не это"));
        d->reject();
    });
    form.command(cmd::Rename)->trigger();
    QCOMPARE(start, QStringLiteral("Мои числа"));
    QCOMPARE(nums->text(0), QStringLiteral("Мои числа"));

    form.treeWidget()->setCurrentItem(form.methodItem(r.method("DIFM")));
    QCOMPARE(form.methodItem(r.method("DIFM"))->text(0), QStringLiteral("Старая"));
    form.command(cmd::ResetName)->trigger();
    QCOMPARE(form.methodItem(r.method("DIFM"))->text(0), QStringLiteral("Максимальная разность между соседними позициями"));
    // The registry keeps its caption until OK.
    QCOMPARE(r.list.Method(r.method("DIFM")).CustomCaption, std::string("Старая"));
    QCOMPARE(r.list.Method(r.method("NUMS")).CustomCaption, std::string());
}

void FormFavoritesTest::namesExportAndImport()
{
    Registry r;
    test::TempDir dir;
    const auto own = dir / "Kvanta_8x20.flt";
    test::ScriptedShell sh;
    r.list.Method(r.method("SUMS")).CustomCaption = "Сохраненная сумма";
    QVERIFY(r.list.SaveFilterList(own, true, false, sh));
    TFormFavorites form(r.list, dir.path(), sh);
    form.treeWidget()->setCurrentItem(form.methodItem(r.method("NUMS")));
    onNextDialog<QInputDialog>([](QInputDialog* d) {
        d->setTextValue(QStringLiteral("Числа для обмена"));
        d->accept();
    });
    form.command(cmd::Rename)->trigger();
    form.treeWidget()->setCurrentItem(form.methodItem(r.method("EVEN")));
    form.command(cmd::GroupNone)->trigger();

    answerFiles(form, dir / "names.flt");
    form.command(cmd::NamesExport)->trigger();
    const util::IniFile exported = util::IniFile::Load(dir / "names.flt");
    QCOMPARE(exported.ReadString("STRINGS_RUS", "NUMS", ""), std::string("Числа для обмена"));
    QCOMPARE(exported.ReadString("STRINGS_RUS", "SUMS", ""), std::string("Сохраненная сумма"));
    QCOMPARE(exported.ReadString("STRINGS_RUS", "DIFM", ""), std::string("Максимальная разность между соседними позициями"));
    QCOMPARE(exported.ReadString("STRINGS_RUS", "SHR1", ""), std::string("Метод шинковки 1: %s"));
    // No favourites and no options in an exported file.
    QCOMPARE(exported.ReadString("FILTERS", "Favorites", "-"), std::string("-"));
    QCOMPARE(exported.ReadString("FILTERS", "Ordered", "-"), std::string("-"));
    // The saved names stay in force.
    QCOMPARE(r.list.Method(r.method("NUMS")).CustomCaption, std::string());
    QCOMPARE(r.list.Method(r.method("SUMS")).CustomCaption, std::string("Сохраненная сумма"));
    QVERIFY(sh.messages.empty());

    // Import of a file from elsewhere: the captions change at once, the window's marks stay.
    test::WriteBytes(dir / "other.flt", util::Utf8ToCp1251("[STRINGS_RUS]\r\nEVEN=Четные (импорт)\r\nDIFM=Разность\r\n"));
    form.treeWidget()->setCurrentItem(form.methodItem(r.method("DIFM")));
    answerFiles(form, dir / "other.flt");
    form.command(cmd::NamesImport)->trigger();
    QCOMPARE(form.methodItem(r.method("EVEN"))->text(0), QStringLiteral("Четные (импорт)"));
    QCOMPARE(form.methodItem(r.method("EVEN"))->checkState(0), Qt::Unchecked);
    QCOMPARE(form.methodItem(r.method("NUMS"))->text(0), QStringLiteral("Числа тиража"));
    QCOMPARE(form.methodItem(r.method("SUMS"))->text(0), QStringLiteral("Сумма тиража: все значения"));
    QCOMPARE(r.list.Method(r.method("DIFM")).CustomCaption, std::string("Разность"));
    QCOMPARE(r.list.Method(r.method("SUMS")).CustomCaption, std::string());
    QCOMPARE(form.treeWidget()->selectedItems(), QList<QTreeWidgetItem*>{form.methodItem(r.method("DIFM"))});

    // A dismissed file dialog does nothing.
    const std::string before = test::ReadBytes(own);
    answerFiles(form, {});
    form.command(cmd::NamesExport)->trigger();
    form.command(cmd::NamesImport)->trigger();
    QCOMPARE(test::ReadBytes(own), before);
    QCOMPARE(r.list.Method(r.method("DIFM")).CustomCaption, std::string("Разность"));
    QCOMPARE(form.methodItem(r.method("DIFM"))->text(0), QStringLiteral("Разность"));

    // Without a chooser of its own the window asks with the file dialog.
    test::TempDir other;
    TFormFavorites plain(r.list, other.path(), sh);
    QStringList seen;
    for (const char* name : {cmd::NamesImport, cmd::NamesExport}) {
        onNextDialog<QFileDialog>([&](QFileDialog* d) {
            seen << d->windowTitle() << d->nameFilters().join('|') << d->defaultSuffix()
                 << QString::number(d->acceptMode()) << d->directory().absolutePath();
            d->reject();
        });
        plain.command(name)->trigger();
    }
    const QString folder = QDir(qs(other.path().string())).absolutePath();
    QCOMPARE(seen, QStringList({"Импорт названий", "Наименования фильтров (*.flt)", "flt", "0", folder,
                                "Экспорт названий", "Наименования фильтров (*.flt)", "flt", "1", folder}));
    QVERIFY(sh.messages.empty());
}

void FormFavoritesTest::commandsWaitWhileBusy()
{
    Registry r;
    test::TempDir dir;
    std::filesystem::create_directory(dir / "folder.flt");
    WatchingShell sh;
    TFormFavorites form(r.list, dir.path(), sh);
    QStringList enabledDuringMessage;
    bool busyDuringMessage = false;
    sh.onMessage = [&] {
        busyDuringMessage = form.isBusy();
        for (const char* name : {cmd::CheckAll, cmd::CheckNone, cmd::NamesImport, cmd::NamesExport})
            if (form.command(name)->isEnabled()) enabledDuringMessage << name;
    };
    // A folder is no filter-list file: the import fails with the registry's message.
    answerFiles(form, dir / "folder.flt");
    form.command(cmd::NamesImport)->trigger();
    QCOMPARE(sh.messages.size(), size_t(1));
    QVERIFY(sh.messages[0].text.starts_with("Ошибка загрузки списка фильтров!\n\n"));
    QVERIFY(busyDuringMessage);
    QCOMPARE(enabledDuringMessage, QStringList());
    QVERIFY(!form.isBusy());
    QVERIFY(form.command(cmd::CheckAll)->isEnabled());
    QCOMPARE(sh.BusyCount(), 0);
}

void FormFavoritesTest::managerOkChangesTheChoosers()
{
    StartedWindow started(30);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QComboBox* chooser = viewOf<StatsView>(w)->chooser();
    const int count = chooser->count();
    QVERIFY(chooser->findText(EvenName) >= 0);
    chooser->setCurrentIndex(0);
    QCOMPARE(chooser->currentText(), NumsName);

    bool statusShown = false;
    onNextDialog<TFormFavorites>([&](TFormFavorites* form) {
        const stats::TStatList& list = w.statList();
        QTreeWidget* view = form->treeWidget();
        click(view, form->methodItem(list.FindMethod("EVEN")));
        view->setCurrentItem(form->methodItem(list.FindMethod("NUMS")));
        onNextDialog<QInputDialog>([](QInputDialog* d) {
            d->setTextValue(QStringLiteral("Мои числа"));
            d->accept();
        });
        form->command(cmd::Rename)->trigger();
        form->methodFlagsBox()->setChecked(false);
        // The wait text is up while the choosers are refilled.
        QObject::connect(viewOf<StatsView>(w)->chooser()->model(), &QAbstractItemModel::rowsInserted, form,
                         [&] { statusShown = statusShown || w.statusText(6) == QStringLiteral("Подождите пожалуйста..."); });
        form->accept();
    });
    w.command(cmd::FiltersManager)->trigger();

    QCOMPARE(chooser->count(), count - 1);
    QCOMPARE(chooser->findText(EvenName), -1);
    QCOMPARE(chooser->findText(QStringLiteral("{ num } Количество четных чисел в тираже (Ч:Н)")), -1);
    QCOMPARE(chooser->itemText(0), QStringLiteral("{ num } Мои числа"));
    QCOMPARE(chooser->currentIndex(), 0);
    QVERIFY(statusShown);
    QCOMPARE(w.statusText(6), QString());
    QVERIFY(!w.statList().AllFavorites);

    const util::IniFile flt = util::IniFile::Load(dir / "Kvanta_8x20.flt");
    const std::string favorites = flt.ReadString("FILTERS", "Favorites", "");
    QVERIFY(favorites.starts_with("NUMS,DIGS,EVNV,SMAL,"));
    QVERIFY(favorites.find(",EVEN,") == std::string::npos);
    QCOMPARE(flt.ReadString("FILTERS", "ShowMethodFlags", ""), std::string("0"));
    QCOMPARE(flt.ReadString("FILTERS", "ShowGroupName", ""), std::string("1"));
    QCOMPARE(flt.ReadString("STRINGS_RUS", "NUMS", ""), std::string("Мои числа"));
    // Default captions are not stored.
    QCOMPARE(flt.ReadString("STRINGS_RUS", "EVEN", "-"), std::string("-"));
    // The chooser refilled from the rebuilt registry still points at the numbers.
    QCOMPARE(viewOf<StatsView>(w)->chosenMethod(), w.statList().FindMethod("NUMS"));
    QCOMPARE(viewOf<StatsView>(w)->tableView()->model()->rowCount(), 20);
}

void FormFavoritesTest::managerCancelChangesNothing()
{
    StartedWindow started(30);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QComboBox* chooser = viewOf<StatsView>(w)->chooser();
    chooser->setCurrentIndex(3);
    const QStringList before = chooserItems(chooser);
    const bool fltExisted = std::filesystem::exists(dir / "Kvanta_8x20.flt");
    const std::string fltBefore = fltExisted ? test::ReadBytes(dir / "Kvanta_8x20.flt") : "";

    onNextDialog<TFormFavorites>([&](TFormFavorites* form) {
        const stats::TStatList& list = w.statList();
        click(form->treeWidget(), form->methodItem(list.FindMethod("EVEN")));
        form->treeWidget()->setCurrentItem(form->methodItem(list.FindMethod("NUMS")));
        onNextDialog<QInputDialog>([](QInputDialog* d) {
            d->setTextValue(QStringLiteral("Мои числа"));
            d->accept();
        });
        form->command(cmd::Rename)->trigger();
        form->orderedBox()->setChecked(true);
        form->reject();
    });
    w.command(cmd::FiltersManager)->trigger();

    QCOMPARE(chooserItems(chooser), before);
    QCOMPARE(chooser->currentIndex(), 3);
    QCOMPARE(std::filesystem::exists(dir / "Kvanta_8x20.flt"), fltExisted);
    if (fltExisted) QCOMPARE(test::ReadBytes(dir / "Kvanta_8x20.flt"), fltBefore);
    QVERIFY(w.statList().AllFavorites);
    QVERIFY(!w.statList().Ordered);
    QCOMPARE(w.statList().Method(w.statList().FindMethod("NUMS")).CustomCaption, std::string());
}

void FormFavoritesTest::cancelKeepsImportedNames()
{
    StartedWindow started(30, {{"names.flt", util::Utf8ToCp1251("[STRINGS_RUS]\r\nNUMS=Импортные числа\r\n")}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QComboBox* chooser = viewOf<StatsView>(w)->chooser();
    onNextDialog<TFormFavorites>([&](TFormFavorites* form) {
        click(form->treeWidget(), form->methodItem(w.statList().FindMethod("EVEN")));
        answerFiles(*form, dir / "names.flt");
        form->command(cmd::NamesImport)->trigger();
        form->reject();
    });
    w.command(cmd::FiltersManager)->trigger();
    QCOMPARE(chooser->itemText(0), QStringLiteral("{ num } Импортные числа [ N ]"));
    QVERIFY2(chooser->findText(EvenName) >= 0, "the cancelled mark is not applied");
    const util::IniFile flt = util::IniFile::Load(dir / "Kvanta_8x20.flt");
    QCOMPARE(flt.ReadString("STRINGS_RUS", "NUMS", ""), std::string("Импортные числа"));
    QCOMPARE(flt.ReadString("FILTERS", "Favorites", "-"), std::string());
}

void FormFavoritesTest::resetAsks()
{
    StartedWindow started(30, {{"Kvanta_8x20.flt", util::Utf8ToCp1251("[FILTERS]\r\nFavorites=NUMS,EVEN\r\nOrdered=0\r\n"
                                                                     "ShowGroupName=1\r\nShowMethodFlags=1\r\n\r\n"
                                                                     "[STRINGS_RUS]\r\nEVEN=Четные\r\n")}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QComboBox* chooser = viewOf<StatsView>(w)->chooser();
    QCOMPARE(chooserItems(chooser), QStringList({NumsName, QStringLiteral("{ num } Четные [ NG ]")}));
    const std::string before = test::ReadBytes(dir / "Kvanta_8x20.flt");

    {
        MessageBoxAnswerer no(QMessageBox::No);
        w.command(cmd::FiltersReset)->trigger();
        QCOMPARE(no.texts, QStringList{QStringLiteral("Вы действительно хотите сбросить список избранных фильтров?")});
        QCOMPARE(no.captions, QStringList{QStringLiteral("Подтверждение")});
    }
    QCOMPARE(chooser->count(), 2);
    QCOMPARE(test::ReadBytes(dir / "Kvanta_8x20.flt"), before);

    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        w.command(cmd::FiltersReset)->trigger();
        QCOMPARE(yes.texts.size(), 1);
    }
    QCOMPARE(chooser->count(), 227);
    QVERIFY2(chooser->findText(QStringLiteral("{ num } Четные [ NG ]")) >= 0, "captions stay");
    const util::IniFile flt = util::IniFile::Load(dir / "Kvanta_8x20.flt");
    QCOMPARE(flt.ReadString("FILTERS", "Favorites", "-"), std::string());
    QCOMPARE(flt.ReadString("STRINGS_RUS", "EVEN", ""), std::string("Четные"));
}

void FormFavoritesTest::descriptionWindow()
{
    for (const bool withHelp : {false, true}) {
        const StartFiles help = {{"help/Kvanta_8x20_RUS/index.html", "<html><body>Содержание</body></html>"},
                                 {"help/Kvanta_8x20_RUS/numbers.html",
                                  "<html><body><p>Начало</p><a name=\"POSx\"></a><p>Число в позиции</p></body></html>"}};
        StartedWindow started(30, withHelp ? help : StartFiles{});
        QVERIFY(started.ok);
        TFormMain& w = *started.window;
        const test::TempDir& dir = started.dir;
        QComboBox* chooser = viewOf<StatsView>(w)->chooser();
        chooser->setCurrentIndex(chooser->findText(QStringLiteral("{ num } Число в 3 позиции тиража [ SNG ]")));
        QVERIFY(chooser->currentIndex() > 0);
        w.updateActions();
        QVERIFY(w.command(cmd::FiltersInfo)->isEnabled());

        QString title, address, shown;
        QFont font;
        onNextDialog<TFormMethodInfo>([&](TFormMethodInfo* d) {
            title = d->windowTitle();
            address = d->address();
            shown = d->browser()->toPlainText();
            font = d->font();
            d->reject();
        });
        w.command(cmd::FiltersInfo)->trigger();
        QCOMPARE(title, QStringLiteral("Описание методики расчета"));
        QCOMPARE(font, QApplication::font("QMenu"));
        const QString pages = qs("file://" + (dir / "help" / "Kvanta_8x20_RUS").string() + "/");
        QCOMPARE(address, withHelp ? pages + QStringLiteral("numbers.html#POSx") : QString());
        // The page itself is shown, not a link to it.
        QCOMPARE(shown, withHelp ? QStringLiteral("Начало\nЧисло в позиции") : QString());

        // The manager's "Описание" shows the selected node's page.
        onNextDialog<TFormFavorites>([&](TFormFavorites* form) {
            form->treeWidget()->setCurrentItem(form->methodItem(w.statList().FindMethod("SUM2")));
            onNextDialog<TFormMethodInfo>([&](TFormMethodInfo* d) {
                address = d->address();
                d->reject();
            });
            form->command(cmd::Info)->trigger();
            form->reject();
        });
        w.command(cmd::FiltersManager)->trigger();
        QCOMPARE(address, withHelp ? pages + QStringLiteral("sums.html#SUMx") : QString());

        // Nothing chosen: no description to show.
        chooser->setCurrentIndex(-1);
        w.updateActions();
        QVERIFY(!w.command(cmd::FiltersInfo)->isEnabled());
        QVERIFY(w.command(cmd::FiltersManager)->isEnabled());
        QVERIFY(w.command(cmd::FiltersReset)->isEnabled());
        w.shell().MarkBusy();
        w.updateActions();
        QVERIFY(!w.command(cmd::FiltersManager)->isEnabled());
        QVERIFY(!w.command(cmd::FiltersReset)->isEnabled());
        w.shell().UnmarkBusy();
    }

    // The three commands sit together in the statistics menu, after the table's own commands.
    StartedWindow started(30);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    auto* menu = w.menuBar()->findChild<QMenu*>(cmd::menu::Stats);
    QVERIFY(menu != nullptr);
    QStringList names;
    for (QAction* a : menu->actions()) names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QVERIFY2(names.join(',').contains(QStringLiteral("-,FiltersManager,FiltersReset,FiltersInfo,-")), qPrintable(names.join(',')));
    QCOMPARE(w.command(cmd::FiltersManager)->text(), QStringLiteral("Избранные статистики"));
    QCOMPARE(w.command(cmd::FiltersReset)->text(), QStringLiteral("Все доступные статистики"));
    QCOMPARE(w.command(cmd::FiltersInfo)->text(), QStringLiteral("Описание статистики"));
}

QTEST_MAIN(FormFavoritesTest)
#include "formfavorites_test.moc"
