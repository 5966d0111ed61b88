#include "app/views/combsview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <limits>

#include "app/formchart.h"
#include "app/formgenerate.h"
#include "app/forminfo.h"
#include "app/commandnames.h"
#include "app/commandset.h"
#include "core/workspace/listexport.h"
#include "app/xlsexport.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"
#include "app/language.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "core/filters/combcells.h"
#include "core/filters/combchecks.h"
#include "core/filters/combfiles.h"
#include "core/filters/generate.h"
#include "core/util/format.h"

using namespace kv;

int CombsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.Count();
}

int CombsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : filters::CombListColumns;
}

QVariant CombsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_list.Count()) return {};
    const game::TComb& comb = m_list[index.row()];
    switch (role) {
    case Qt::DisplayRole: return qs(filters::CombCellText(comb, index.row(), index.column()));
    case Qt::BackgroundRole:
        return QColor(QRgb(filters::CombCellColor(comb, index.column(), m_colors, m_channelSize)));
    case Qt::ForegroundRole: return QColor(Qt::black);
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    default: return {};
    }
}

QVariant CombsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return QString::fromUtf8(filters::CombListCaption(section));
    return {};
}

void CombsModel::setColors(bool on, int channelSize)
{
    m_colors = on;
    m_channelSize = channelSize;
}

void CombsModel::reload()
{
    beginResetModel();
    endResetModel();
}

int HistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_history.Count();
}

int HistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_history.Count()) return {};
    const filters::THistoryRow& row = m_history.Row(index.row());
    if (role == Qt::ToolTipRole) {
        // The columns are narrow for a method's name and its list of values: the whole text.
        if (index.column() == 0) return qs(row.Caption);
        if (index.column() == 1) return qs(row.Values);
        return {};
    }
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0: return qs(row.Caption);
        case 1: return qs(row.Values);
        default: return qs(row.Count);
        }
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        // Keep green, delete red, undo grey: the row's kind at a glance.
        QPixmap mark(10, 10);
        mark.fill(row.Kind == filters::THistoryKind::Keep     ? QColor(0x00, 0xA0, 0x00)
                  : row.Kind == filters::THistoryKind::Delete ? QColor(0xD0, 0x00, 0x00)
                                                              : QColor(0x80, 0x80, 0x80));
        return mark;
    }
    if (role == Qt::TextAlignmentRole && index.column() == 2) return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 3)
        return TrText(QString::fromUtf8(filters::TFilterHistory::ColumnCaptions[section]));
    return {};
}

void HistoryModel::reload()
{
    beginResetModel();
    endResetModel();
}

CombsView::CombsView(const ViewContext& ctx)
    : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Исключить тиражей:"));
    m_exclude = new QSpinBox;
    m_exclude->setObjectName(QStringLiteral("DrawsExclude"));
    m_exclude->setRange(0, std::numeric_limits<int>::max());
    const QString hint = QStringLiteral("Исключить указанное количество последних тиражей из списка комбинаций");
    m_exclude->setToolTip(hint);
    m_exclude->setStatusTip(hint);
    label->setBuddy(m_exclude);
    top->addWidget(label);
    top->addWidget(m_exclude);
    top->addStretch();
    layout->addLayout(top);

    m_model = new CombsModel(m_ws.Combs(), this);
    m_view = NewRowList(QStringLiteral("CombsList"), m_model);
    const QFontMetrics fm = m_view->fontMetrics();
    for (int c = 0; c < filters::CombListColumns; ++c)
        m_view->setColumnWidth(c, fm.horizontalAdvance(c == 0 ? QStringLiteral("№ п.п.0") : c == 9 ? QStringLiteral("000")
                                                                                                    : QStringLiteral("00"))
                                      + 12);
    m_historyModel = new HistoryModel(m_ws.History(), this);
    m_history = new QTableView;
    m_history->setObjectName(QStringLiteral("FiltersList"));
    m_history->setModel(m_historyModel);
    m_history->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_history->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_history->verticalHeader()->hide();
    m_history->verticalHeader()->setDefaultSectionSize(m_history->fontMetrics().height() + 4);
    m_history->horizontalHeader()->setStretchLastSection(true);
    m_history->setColumnWidth(0, 160);
    m_history->setColumnWidth(1, 120);
    m_splitter = new QSplitter(Qt::Vertical);
    m_splitter->addWidget(m_view);
    m_splitter->addWidget(m_history);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setSizes({500, 140});
    layout->addWidget(m_splitter, 1);
    m_ws.History().onChanged = [this] { m_host.refreshView(m_historyModel, m_history, [this] { m_historyModel->reload(); }); };

    connect(m_exclude, &QSpinBox::editingFinished, this, [this] {
        // Enter in the field runs the command when it may run.
        if (!m_exclude->hasFocus()) return;
        QAction* a = m_commands.command(cmd::CombsDelExists);
        m_commands.updateActions();
        if (a && a->isEnabled()) a->trigger();
    });

    workspace::TSharedState& shared = m_ws.Shared();
    shared.SetExcludedDraws(m_exclude->value());
    connect(m_exclude, &QSpinBox::valueChanged, this, [&shared](int draws) { shared.SetExcludedDraws(draws); });
    OnSelectionChanged(m_view, this, [this, &shared] { shared.SetCombSelection(selectedRows(), CurrentSelectedRow(m_view)); });
    // Another view empties the selection (the stakes taken from it) through the shared state.
    m_selectionCleared = shared.Subscribe(workspace::TChange::CombSelection, [this, &shared] {
        if (shared.CombRows().empty() && m_view->selectionModel()->hasSelection()) m_view->clearSelection();
    });
    follow(workspace::TChange::Parameters, [this] { refresh(); });
}

void CombsView::createCommands()
{
    auto& ws = m_ws;
    const auto notEmpty = [&ws] { return !ws.Combs().Empty(); };
    const auto hasRow = [this] { return !selectedRows().empty(); };

    m_commands.add(cmd::CombsGen, QStringLiteral("Генерировать"), QStringLiteral("Перегенерировать список комбинаций"),
                      [this] { combsGen(); })->setShortcut(QKeySequence(Qt::Key_F2));
    m_commands.add(cmd::CombsUndo, QStringLiteral("Отменить"), QString(), [this] { combsUndo(); },
                      [&ws] { return ws.Combs().HasUndo(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_commands.add(cmd::CombsDelExists, QStringLiteral("Исключить тиражи"), QString(), [this] { combsDelExists(); },
                      [this, &ws] { return !ws.Combs().Empty() && ws.DrawCount() > 0 && m_exclude->value() > 0; })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_commands.add(cmd::CombsDelSelected, QStringLiteral("Удалить выделенные"), QString(), [this] { combsDelSelected(); },
                      [notEmpty, hasRow] { return notEmpty() && hasRow(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m_commands.add(cmd::CombsOpen, QStringLiteral("Открыть"), QString(), [this] { combsOpen(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_commands.add(cmd::CombsSave, QStringLiteral("Сохранить"), QString(), [this] { combsSave(); }, notEmpty)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_commands.add(cmd::CombsCopy, QStringLiteral("Копировать в буфер"), QString(), [this] { combsCopy(); }, notEmpty)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    m_commands.add(cmd::CombsPaste, QStringLiteral("Вставить из буфера"), QString(), [this] { combsPaste(); }, [] {
        const QMimeData* clip = QApplication::clipboard()->mimeData();
        return clip && clip->hasText();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    m_commands.add(cmd::CombsSelectAll, QStringLiteral("Выделить все"), QString(), [this] { combsSelectAll(); }, notEmpty)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    m_commands.add(cmd::CombsFindInDraws, QStringLiteral("Проверить по архиву тиражей"), QString(),
                      [this] { combsFindInDraws(); }, hasRow)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_commands.add(cmd::CombsCheckNums, QStringLiteral("Количество уникальных номеров"), QString(),
                      [this] { combsCheckNums(); });
    m_commands.add(cmd::CombsInfo, QStringLiteral("Сведения о комбинации"), QString(), [this] { combsInfo(); }, hasRow);
    m_commands.add(cmd::TotalSumCombs, QStringLiteral("Распределение сумм тиражей и всех возможных комбинаций"), QString(),
                      [this] { totalSumCombs(); });

    // The shortcuts act on the list only; elsewhere Ctrl+C and the like keep their usual meaning.
    for (const char* name : {cmd::CombsUndo, cmd::CombsDelExists, cmd::CombsDelSelected, cmd::CombsCopy, cmd::CombsPaste, cmd::CombsSelectAll,
                             cmd::CombsFindInDraws})
        m_commands.command(QString::fromLatin1(name))->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_commands.fillContextMenu(m_view, {cmd::CombsGen, cmd::CombsUndo, cmd::CombsDelExists, cmd::CombsDelSelected, cmd::CombsOpen,
                                        cmd::CombsSave, cmd::CombsCopy, cmd::CombsPaste, cmd::CombsSelectAll, cmd::CombsFindInDraws,
                                        cmd::CombsCheckNums, cmd::CombsInfo, cmd::TotalSumCombs});
    addAction(m_commands.command(cmd::CombsDelExists));
}

void CombsView::restoreSettings(const workspace::FormSettings& frm)
{
    RestoreListColumns(m_view, frm, "CombsList");
    RestoreListColumns(m_history, frm, "FiltersList");
    const int filtersHeight = frm.ReadInt("FiltersHeight", -1);
    if (filtersHeight > 0) m_splitter->setSizes({std::max(100, window()->height() - filtersHeight), filtersHeight});
    m_exclude->setValue(std::max(0, frm.ReadInt("DrawsExclude", 0)));
}

void CombsView::saveSettings(SettingValues& values) const
{
    SaveListColumns(m_view, "CombsList", values);
    SaveListColumns(m_history, "FiltersList", values);
    values.emplace_back("FiltersHeight", std::to_string(m_splitter->sizes().value(1)));
    values.emplace_back("DrawsExclude", std::to_string(m_exclude->value()));
}

void CombsView::refresh()
{
    m_model->setColors(m_ws.View().ColorCombs, m_stats.Config().ChannelSize);
    m_model->reload();
    m_host.setStatusField(3, qs(filters::CombCountText(m_ws.Combs().Count())));
}

std::vector<int> CombsView::selectedRows() const
{
    return SelectedRows(m_view);
}

void CombsView::combsGen()
{
    auto& list = m_stats;
    filters::TGenerateSettings settings{list.CombsGenerateMode, list.CombsGenerateParameters};
    TFormGenerate dialog(settings, m_host.mainWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    settings = dialog.settings();
    if (dialog.saveAsDefault()) {
        list.CombsGenerateMode = settings.Mode;
        list.CombsGenerateParameters = settings.Parameters;
        try {
            list.SaveGenerateSettings(m_ws.FilePath(kv::workspace::Workspace::SettingsFileName));
        } catch (const std::exception& e) {
            m_shell.ShowFailure("Ошибка записи файла конфигурации!", e.what());
        }
    }
    auto& ws = m_ws;
    try {
        ws.Combs().MakeUndoCopy(m_shell);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка генерации файла комбинаций!", e.what());
    }
    filters::GenerateCombs(true, settings, ws.Combs(), ws.History(), m_shell);
    m_view->clearSelection();
    refresh();
}

void CombsView::combsUndo()
{
    auto& ws = m_ws;
    try {
        ws.Combs().Undo(ws.History(), m_shell);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка отмены изменений!", e.what());
    }
    m_view->clearSelection();
    refresh();
}

void CombsView::combsDelExists()
{
    auto& ws = m_ws;
    try {
        ws.Combs().MakeUndoCopy(m_shell);
        ws.Combs().RemoveLastDraws(m_exclude->value(), ws.Draws(), ws.DrawsOffset(), ws.History(), m_shell);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка удаления тиражей из списка комбинаций!", e.what());
    }
    m_view->clearSelection();
    refresh();
}

void CombsView::combsDelSelected()
{
    auto& ws = m_ws;
    const std::vector<int> rows = selectedRows();
    try {
        ws.Combs().MakeUndoCopy(m_shell);
        ws.Combs().DeleteSelected(rows, ws.History(), m_shell);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка удаления выделенных комбинаций!", e.what());
    }
    m_view->clearSelection();
    refresh();
}

void CombsView::combsOpen()
{
    const QString file = QFileDialog::getOpenFileName(m_host.mainWindow(), QStringLiteral("Открыть"), qs(m_ws.DataDir().string()),
                                                      QStringLiteral("Файлы комбинаций (*.lcv)"));
    if (file.isEmpty()) return;
    auto& ws = m_ws;
    filters::OpenCombFile(std::filesystem::path(file.toStdString()), ws.Combs(), ws.History(), m_shell);
    m_view->clearSelection();
    refresh();
}

void CombsView::combsSave()
{
    QFileDialog dialog(m_host.mainWindow(), QStringLiteral("Сохранить"), qs(m_ws.DataDir().string()),
                       QStringLiteral("Файлы комбинаций (*.lcv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("lcv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    filters::SaveCombFile(std::filesystem::path(dialog.selectedFiles().first().toStdString()),
                          m_ws.Combs().Combs(), m_shell);
}

void CombsView::combsCopy()
{
    const std::string text = filters::CopyCombs(m_ws.Combs(), selectedRows(), m_shell);
    QApplication::clipboard()->setText(qs(text));
}

void CombsView::combsPaste()
{
    auto& ws = m_ws;
    const QString text = QApplication::clipboard()->text();
    filters::PasteCombs(us(text), ws.Combs(), ws.History(), m_shell);
    m_view->clearSelection();
    refresh();
}

void CombsView::combsSelectAll()
{
    kv::shell::BusyScope busy(m_shell, "Подождите пожалуйста...");
    m_view->selectAll();
}

void CombsView::combsFindInDraws()
{
    const int row = CurrentSelectedRow(m_view);
    if (row < 0) return;
    filters::ShowFindInDraws(m_ws.Combs()[row], m_ws.Draws(), m_shell);
}

void CombsView::combsCheckNums()
{
    filters::ShowDistinctNumbers(m_ws.Combs().Combs(), m_shell);
}

void CombsView::combsInfo()
{
    const int row = CurrentSelectedRow(m_view);
    if (row < 0) return;
    // A combination is judged where the next draw would stand: right after the analysis window.
    const int position = m_ws.LastDrawIndex() + 1;
    TFormInfo dialog(m_stats, m_ws.Combs()[row], position, m_ws.View().SortedDraws, std::nullopt,
                     std::nullopt, m_shell, m_host.mainWindow());
    dialog.exec();
}

void CombsView::totalSumCombs()
{
    const filters::TSumDistribution sums = filters::TotalSumCombs(m_ws.Draws(), m_shell);
    auto* window = new TFormChart(qs(filters::TSumDistribution::Caption), m_host.mainWindow());
    for (const auto& series : sums.Series) window->addSeries(series);
    window->show();
}

void CombsView::createExportCommand()
{
    m_commands.add(cmd::CombsXlsExport, QStringLiteral("Экспорт в Microsoft Excel"),
                   QStringLiteral("Экспорт списка комбинаций в Microsoft Excel"), [this] {
        ExportSheet(m_host.mainWindow(), m_shell, m_ws.DataDir(), workspace::ExportList::Combs,
                    workspace::CombsSheet(m_ws.Combs(), m_ws.View().ColorCombs, m_stats.Config().ChannelSize));
    }, [this] { return m_ws.Combs().Count() > 0; });
    m_commands.fillContextMenu(view(), {TCommandSet::Separator, cmd::CombsXlsExport});
}
