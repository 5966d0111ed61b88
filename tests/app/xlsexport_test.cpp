#include <QCheckBox>
#include <QProgressDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formexport.h"
#include "app/formmain.h"
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
};

namespace {

void typeFileName(QFileDialog* dialog, const std::filesystem::path& path)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(qs(path.string()));
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

QTEST_MAIN(XlsExportTest)
#include "xlsexport_test.moc"
