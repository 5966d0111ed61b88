#include "app/views/drawsview.h"

#include <QAction>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formdraw.h"
#include "app/forminfo.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "app/xlsexport.h"
#include "app/viewflags.h"
#include "app/views/drawsmodel.h"
#include "core/archive/archive.h"
#include "core/archive/drawlist.h"
#include "core/stats/statlist.h"
#include "core/util/format.h"
#include "core/workspace/listexport.h"
#include "core/workspace/workspace.h"

using namespace kv;

DrawsView::DrawsView(const ViewContext& ctx) : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* offsetRow = new QHBoxLayout;
    auto* offsetLabel = new QLabel(QStringLiteral("Смещение назад:"));
    m_offset = new QSpinBox;
    m_offset->setObjectName(QStringLiteral("DrawsOffset"));
    m_offset->setRange(0, 0);
    const QString offsetHint = QStringLiteral("Смещение относительно последнего загруженного номера тиража");
    m_offset->setToolTip(offsetHint);
    m_offset->setStatusTip(offsetHint);
    offsetLabel->setBuddy(m_offset);
    offsetRow->addWidget(offsetLabel);
    offsetRow->addWidget(m_offset);
    offsetRow->addStretch();
    layout->addLayout(offsetRow);

    m_model = new DrawsModel(m_ws, this);
    m_list = NewRowList(QString::fromLatin1(ListName), m_model);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->setAlternatingRowColors(false);
    // Default widths follow the font, so the date fits whatever font the desktop gives us.
    const QFontMetrics fm = m_list->fontMetrics();
    const int pad = 12;
    for (int c = 0; c < archive::DrawListColumns; ++c) {
        const char* sample = c == 0 ? "Тираж0" : c == 10 ? "000" : c == 11 ? "00.00.0000 00:00" : "00";
        m_list->setColumnWidth(c, fm.horizontalAdvance(QString::fromUtf8(sample)) + pad);
    }
    layout->addWidget(m_list);

    // An empty archive says where draws come from instead of showing a bare grid.
    auto* emptyHint = new QFrame;
    emptyHint->setObjectName(QStringLiteral("EmptyArchiveHint"));
    emptyHint->setFrameShape(QFrame::StyledPanel);
    m_emptyArchive = emptyHint;
    auto* emptyLayout = new QVBoxLayout(m_emptyArchive);
    auto* emptyText = new QLabel(QStringLiteral(
        "Архив тиражей пуст. Тиражи можно загрузить с сайта лотереи (Тиражи → Загрузка, F3), "
        "импортировать из CSV-файла (Файл → Импорт из CSV-файла) или, чтобы познакомиться с программой, "
        "создать демонстрационный архив из вымышленных тиражей."));
    emptyText->setWordWrap(true);
    emptyLayout->addWidget(emptyText);
    auto* demo = new QPushButton(QStringLiteral("Демонстрационный архив"));
    demo->setObjectName(QStringLiteral("DemoArchive"));
    connect(demo, &QPushButton::clicked, this, &DrawsView::createDemoArchive);
    emptyLayout->addWidget(demo, 0, Qt::AlignLeft);
    m_emptyArchive->hide();
    layout->addWidget(m_emptyArchive);

    connect(m_offset, qOverload<int>(&QSpinBox::valueChanged), this, &DrawsView::setDrawsOffset);
    connect(m_list, &QTableView::doubleClicked, this, [this] {
        if (!m_shell.IsBusy()) m_commands.command(cmd::DrawsInfo)->trigger();
    });
    // The offset waits, like the commands, while an operation runs.
    m_commands.onUpdated = [this, previous = std::move(m_commands.onUpdated)] {
        m_offset->setEnabled(!m_shell.IsBusy());
        if (previous) previous();
    };
    // During a scenario run the list follows the archive a few times a second.
    m_ws.onDrawListChanged = [this](bool force) {
        m_refreshForced = m_refreshForced || force;
        m_host.refreshView(m_model, m_list, [this] { refreshDrawList(std::exchange(m_refreshForced, false)); });
    };
    // Channel colours follow the channel width.
    follow(workspace::TChange::Parameters, [this] { followSettings(); });
}

DrawsView::~DrawsView()
{
    m_ws.onDrawListChanged = nullptr;
}

void DrawsView::createCommands()
{
    const auto hasRow = [this] { return currentRow() >= 0; };
    const auto hasSelection = [this] { return !selectedRows().empty(); };
    const auto hasDraws = [this] { return m_ws.DrawCount() > 0; };

    QAction* sorted = m_commands.add(cmd::DrawsSorted, QStringLiteral("Упорядочить MIN->MAX"),
                                     QStringLiteral("Упорядочить числа внутри тиража от меньшего к большему"),
                                     [this] { toggleSorted(); });
    sorted->setCheckable(true);
    m_commands.add(cmd::DrawsAdd, QStringLiteral("Добавить"), QStringLiteral("Добавить данные тиража вручную"),
                   [this] { drawsAdd(); });
    m_commands.add(cmd::DrawsEdit, QStringLiteral("Изменить"), QStringLiteral("Изменить данные тиража вручную"),
                   [this] { drawsEdit(); }, hasRow);
    m_commands.add(cmd::DrawsDel, QStringLiteral("Удалить"), QStringLiteral("Удалить выделенные тиражи из списка"),
                   [this] { drawsDel(); }, hasSelection);
    m_commands.add(cmd::DrawsImport, QStringLiteral("Импорт из CSV-файла"),
                   QStringLiteral("Импорт списка тиражей из CSV-файла"), [this] { drawsImport(); });
    m_commands.add(cmd::DrawsExport, QStringLiteral("Экспорт в CSV-файл"), QStringLiteral("Экспорт списка тиражей в CSV-файл"),
                   [this] { drawsExport(); }, hasDraws);
    m_commands.add(cmd::DrawsInfo, QStringLiteral("Сведения о тираже"), QStringLiteral("Просмотр подробных сведений о тираже"),
                   [this] { drawsInfo(); }, hasRow);
}

void DrawsView::createExportCommand()
{
    m_commands.add(cmd::DrawsXlsExport, QStringLiteral("Экспорт в Microsoft Excel"),
                   QStringLiteral("Экспорт списка тиражей в Microsoft Excel"), [this] {
        ExportSheet(m_host.mainWindow(), m_shell, m_ws.DataDir(), workspace::ExportList::Draws,
                    workspace::DrawsSheet(m_ws.Draws(), m_ws.DrawsOffset(), m_ws.View().SortedDraws, m_ws.View().ColorDraws,
                                          m_stats.Config().ChannelSize));
    }, [this] { return m_ws.DrawCount() > 0; });
}

void DrawsView::createMenus()
{
    const char* const sep = TCommandSet::Separator;
    m_commands.fillContextMenu(m_list, {cmd::DrawsDownload, sep, cmd::DrawsInfo, cmd::DrawsAdd, cmd::DrawsEdit, cmd::DrawsDel, sep,
                                        cmd::DrawsImport, cmd::DrawsExport, cmd::DrawsXlsExport, cmd::DrawsSorted});
}

void DrawsView::restoreSettings(const workspace::FormSettings& frm)
{
    RestoreListColumns(m_list, frm, ListName);
    m_commands.command(cmd::DrawsSorted)->setChecked(m_ws.View().SortedDraws);
    followSettings();
}

void DrawsView::saveSettings(SettingValues& values) const
{
    SaveListColumns(m_list, ListName, values);
}

void DrawsView::followSettings()
{
    m_model->setSorted(m_ws.View().SortedDraws);
    m_model->setColorDraws(m_ws.View().ColorDraws);
    m_model->setChannelSize(m_stats.Config().ChannelSize);
    m_model->repaintAll();
}

void DrawsView::refreshDrawList(bool force)
{
    m_model->refresh(force);
    m_host.setStatusField(0, qs(util::Format("Архив тиражей: %d", {m_ws.DrawCount()})));
    m_host.setStatusField(1, qs(util::Format("Следующий тираж: %d", {m_ws.NextDrawNo()})));
    m_host.setStatusField(2, qs(m_ws.HiddenNextDrawText()));
    const QSignalBlocker block(m_offset);
    m_offset->setMaximum(std::max(0, m_ws.DrawCount() - 1));
    m_offset->setValue(m_ws.DrawsOffset());
    m_model->repaintAll();
    m_emptyArchive->setVisible(m_ws.DrawCount() == 0);
}

int DrawsView::fittingWidth() const
{
    int width = m_list->verticalScrollBar()->sizeHint().width() + 24;
    for (int c = 0; c < archive::DrawListColumns; ++c) width += m_list->columnWidth(c);
    return width;
}

void DrawsView::setDrawsOffset(int offset)
{
    if (m_ws.SetDrawsOffset(offset)) m_model->repaintAll();
    if (m_offset->value() != m_ws.DrawsOffset()) {
        const QSignalBlocker block(m_offset);
        m_offset->setValue(m_ws.DrawsOffset());
    }
}

void DrawsView::toggleSorted()
{
    ToggleViewFlag(m_ws, m_shell, m_commands, &workspace::TViewSettings::SortedDraws, cmd::DrawsSorted);
    followSettings();
    emit sortedChanged();
}

void DrawsView::drawsAdd()
{
    game::TDraw draw;
    draw.DrawNo = archive::NextDrawNo(m_ws.Draws(), 0);
    TFormDraw dialog(m_shell, draw, false, m_host.mainWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    const int before = m_ws.DrawCount();
    m_shell.Guarded("Ошибка добавления тиража!", [&] { m_ws.AddDraw(m_shell, dialog.draw()); });
    if (m_ws.DrawCount() > before) emit archiveGrew();
}

void DrawsView::drawsEdit()
{
    const int index = archiveIndex(currentRow());
    if (index < 0) return;
    TFormDraw dialog(m_shell, m_ws.Draws()[index], true, m_host.mainWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    m_shell.Guarded("Ошибка изменения тиража!", [&] { m_ws.ReplaceDraw(m_shell, index, dialog.draw()); });
}

void DrawsView::drawsDel()
{
    const std::vector<int> rows = selectedRows();
    if (rows.empty() || !m_shell.AskDelete(static_cast<int>(rows.size()))) return;
    m_shell.Guarded("Ошибка удаления тиражей!", [&] { m_ws.DeleteDrawRows(m_shell, rows); });
    m_list->clearSelection();
}

void DrawsView::drawsImport()
{
    const QString file = QFileDialog::getOpenFileName(m_host.mainWindow(), QStringLiteral("Импорт из CSV-файла"),
                                                      qs(m_ws.DataDir().string()), QStringLiteral("Файлы тиражей (*.csv)"));
    if (file.isEmpty()) return;
    const int before = m_ws.DrawCount();
    m_ws.ImportDraws(m_shell, std::filesystem::path(file.toStdString()));
    if (m_ws.DrawCount() > before) emit archiveGrew();
}

void DrawsView::drawsExport()
{
    QFileDialog dialog(m_host.mainWindow(), QStringLiteral("Экспорт в CSV-файл"), qs(m_ws.DataDir().string()),
                       QStringLiteral("Файлы тиражей (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    m_ws.ExportDraws(m_shell, std::filesystem::path(dialog.selectedFiles().first().toStdString()));
}

void DrawsView::drawsInfo()
{
    const int index = archiveIndex(currentRow());
    if (index < 0) return;
    const game::TDraw& draw = m_ws.Draws()[index];
    TFormInfo dialog(m_stats, draw.Nums, index, m_ws.View().SortedDraws, draw.DrawNo, draw.DateText(), m_shell,
                     m_host.mainWindow());
    dialog.exec();
}

void DrawsView::createDemoArchive()
{
    if (m_shell.IsBusy()) return;
    m_shell.Guarded("Ошибка записи в файл тиражей!", [&] { m_ws.CreateDemoArchive(m_shell); });
    refreshDrawList(true);
    m_commands.updateActions();
}

std::vector<int> DrawsView::selectedRows() const
{
    return SelectedRows(m_list);
}

int DrawsView::currentRow() const
{
    return CurrentSelectedRow(m_list);
}

int DrawsView::archiveIndex(int row) const
{
    return row >= 0 && row < m_ws.DrawCount() ? m_ws.DrawCount() - 1 - row : -1;
}
