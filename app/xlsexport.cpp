#include "app/xlsexport.h"

#include <QAction>
#include <QBrush>
#include <QCheckBox>
#include <QColor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <algorithm>

#include "app/commandset.h"
#include "app/formexport.h"
#include "app/language.h"
#include "app/qtshell.h"
#include "core/shell/shell.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/xlsxfile.h"
#include "core/workspace/listexport.h"
#include "core/workspace/programname.h"

std::function<bool(const QString& file)> OpenExportedFile = [](const QString& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
};

bool ExportSheet(QWidget* parent, kv::shell::Shell& shell, const std::filesystem::path& dataDir, const char* list,
                 const kv::util::TExportSheet& sheet)
{
    using namespace kv;
    const std::filesystem::path optionsFile = workspace::ExportOptionsPath(dataDir, workspace::ProgramName(), list);
    util::TExportOptions options = util::LoadExportOptions(optionsFile);
    const QString folder = !options.Folder.empty() && QFileInfo(qs(options.Folder)).isDir() ? qs(options.Folder)
                                                                                             : qs(dataDir.string());
    const QString listTitle = qs(sheet.Title);
    const QString title = qs(options.Title.empty() ? sheet.Title : options.Title);

    // Qt's own dialog, so that the two controls of the export can sit in it.
    QFileDialog dialog(parent, QStringLiteral("Экспорт в Microsoft Excel"), folder,
                       QStringLiteral("Книги Microsoft Excel (*.xlsx)"));
    dialog.setObjectName(QStringLiteral("XlsExportDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    dialog.selectFile(title + QStringLiteral(".xlsx"));
    auto* openAfter = new QCheckBox(QStringLiteral("Открыть файл после экспорта"));
    openAfter->setObjectName(QStringLiteral("OpenAfter"));
    openAfter->setChecked(options.OpenAfter);
    auto* optionsButton = new QPushButton(QStringLiteral("Параметры экспорта..."));
    optionsButton->setObjectName(QStringLiteral("ExportOptions"));
    QObject::connect(optionsButton, &QPushButton::clicked, &dialog, [&] {
        TFormExportOptions edit(options, listTitle, &dialog);
        if (edit.exec() == QDialog::Accepted) options = edit.options();
    });
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(openAfter, row, 0, 1, 2);
        grid->addWidget(optionsButton, row, 2);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;

    const QString file = dialog.selectedFiles().first();
    options.OpenAfter = openAfter->isChecked();
    options.Folder = us(QFileInfo(file).absolutePath());
    try {
        util::SaveExportOptions(optionsFile, options);
    } catch (const std::exception& e) {
        // The export itself does not depend on the options file.
        shell.ShowFailure("Ошибка записи параметров экспорта!", e.what());
    }
    try {
        shell::BusyScope busy(shell, "Экспорт в Microsoft Excel...");
        // The list is written with progress and "Отмена"; a cancelled export leaves no file.
        struct ProgressWindow {
            shell::Shell& shell;
            ~ProgressWindow() { shell.ProgressClose(); }
        } window{shell};
        shell.ProgressOpen(std::max(1, sheet.RowCount), true, "Экспорт в Microsoft Excel...");
        util::WriteXlsx(std::filesystem::path(file.toStdString()), sheet, options, [&shell](int written, int) {
            shell.ProgressSetPosition(written);
            return !shell.ProgressCancelled();
        });
    } catch (const Cancelled&) {
        return false;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка экспорта в Microsoft Excel!", e.what());
        return false;
    }
    if (options.OpenAfter && (!OpenExportedFile || !OpenExportedFile(file)))
        shell.ShowError(util::Format("Не удалось открыть файл \"%s\" программой для электронных таблиц", {us(file)}));
    return true;
}

kv::util::TExportSheet SheetFromView(const QTableView* view, const QString& title)
{
    kv::util::TExportSheet sheet;
    sheet.Title = us(title);
    const QAbstractItemModel* model = view->model();
    // Row captions (the week's days) are part of what the list shows.
    const bool rowCaptions = !view->verticalHeader()->isHidden();
    if (rowCaptions) sheet.Captions.emplace_back();
    std::vector<int> columns;
    for (int c = 0; model && c < model->columnCount(); ++c) {
        if (view->isColumnHidden(c)) continue;
        columns.push_back(c);
        // Captions wrapped to fit the screen are one line in a sheet.
        QString caption = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        sheet.Captions.push_back(us(caption.replace(QLatin1Char('\n'), QLatin1Char(' '))));
    }
    sheet.RowCount = model ? model->rowCount() : 0;
    sheet.Row = [model, columns, rowCaptions](int row, std::vector<kv::util::TSheetCell>& cells) {
        const std::size_t first = rowCaptions ? 1 : 0;
        if (rowCaptions) cells[0].Text = us(model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString());
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const QModelIndex index = model->index(row, columns[i]);
            kv::util::TSheetCell& cell = cells[first + i];
            cell.Text = us(index.data(Qt::DisplayRole).toString());
            cell.Numeric = true;
            const QVariant background = index.data(Qt::BackgroundRole);
            const QColor color = background.userType() == QMetaType::QBrush ? background.value<QBrush>().color()
                                                                            : background.value<QColor>();
            if (color.isValid() && color != QColor(Qt::white)) cell.Fill = color.rgb() & 0xFFFFFFu;
        }
    };
    return sheet;
}

QAction* NewListExport(QTableView* view, kv::shell::Shell& shell, const std::filesystem::path& dataDir,
                       const char* list, const QString& title)
{
    auto* action = new QAction(TrText(QStringLiteral("Экспорт в Microsoft Excel")), view);
    action->setObjectName(QStringLiteral("%1XlsExport").arg(QString::fromLatin1(list)));
    QObject::connect(action, &QAction::triggered, view, [view, &shell, dataDir, list, title] {
        ExportSheet(view->window(), shell, dataDir, list, SheetFromView(view, TrText(title)));
    });
    return action;
}

QAction* AddListExportCommand(TCommandSet& commands, const std::string& name, QTableView* view, kv::shell::Shell& shell,
                              const std::filesystem::path& dataDir, const char* list, const QString& title)
{
    return commands.add(
        name.c_str(), QStringLiteral("Экспорт в Microsoft Excel"), QString(),
        [view, &shell, dataDir, list, title] {
            ExportSheet(view->window(), shell, dataDir, list, SheetFromView(view, TrText(title)));
        },
        [view] { return view->model() && view->model()->rowCount() > 0; });
}

void AppendToContextMenu(QWidget* menuOrWidget, QAction* action)
{
    if (!menuOrWidget->actions().isEmpty()) {
        auto* separator = new QAction(menuOrWidget);
        separator->setSeparator(true);
        menuOrWidget->addAction(separator);
    }
    if (!qobject_cast<QMenu*>(menuOrWidget)) menuOrWidget->setContextMenuPolicy(Qt::ActionsContextMenu);
    menuOrWidget->addAction(action);
}
