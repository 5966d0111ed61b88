#include "app/views/systemsview.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/catalogtexts.h"
#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formcatalog.h"
#include "app/formstake.h"
#include "app/onlineaccess.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "app/xlsexport.h"
#include "app/language.h"
#include "core/game/numbers.h"
#include "core/scenario/systemcombs.h"
#include "core/shell/shell.h"
#include "core/stakes/prizetable.h"
#include "core/stats/statlist.h"
#include "core/util/format.h"
#include "core/workspace/formsettings.h"
#include "core/online/onlinesystems.h"
#include "core/workspace/systemstakes.h"
#include "core/workspace/workspace.h"
#include "core/workspace/listexport.h"

using namespace kv;
using online::tSystemInfo;

namespace {

bool sameMail(const std::string& a, const std::string& b)
{
    return !a.empty() && QString::compare(qs(a), qs(b), Qt::CaseInsensitive) == 0;
}

// Green for a downloaded system, grey for one that is not; a filled disc for the user's own,
// a ring for another's.
QIcon rowIcon(bool downloaded, bool mine)
{
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = downloaded ? QColor(0, 150, 0) : QColor(150, 150, 150);
    p.setPen(QPen(c, 2));
    p.setBrush(mine ? QBrush(c) : Qt::NoBrush);
    p.drawEllipse(QRectF(2, 2, 10, 10));
    return QIcon(pm);
}

} // namespace

int SystemsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_systems.size());
}

int SystemsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Columns; }

bool SystemsModel::isMine(int row) const { return sameMail(m_systems[static_cast<std::size_t>(row)].AuthorMail, m_mail); }

bool SystemsModel::isDownloaded(int row) const
{
    std::error_code ec;
    return std::filesystem::exists(online::LocalSystemFile(m_folder, m_systems[static_cast<std::size_t>(row)]), ec);
}

QVariant SystemsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(m_systems.size())) return {};
    const tSystemInfo& s = m_systems[static_cast<std::size_t>(index.row())];
    if (role == Qt::DecorationRole && index.column() == 0) return rowIcon(isDownloaded(index.row()), isMine(index.row()));
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case 0: return qs(s.Title);
    case 1: return qs(s.AuthorName);
    case 2: return QStringLiteral("%1").arg(s.Nums, 2, 10, QLatin1Char('0'));
    case 3: return s.Olap;
    case 4: return s.CSize;
    case 5: return CatalogTime(s.Created);
    case 6: return isDownloaded(index.row()) ? TrText(QStringLiteral("Загружена")) : QString();
    case 7: return s.Downloads;
    case 8: return CatalogTime(s.LastDownload);
    case 9: return qs(s.Descr).replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
    case 10: return qs(s.Url);
    default: return {};
    }
}

QVariant SystemsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const captions[Columns] = {"Название", "Автор",    "Числа",     "Блок",        "Комбинаций", "Дата создания",
                                                  "Статус",   "Загрузок", "Последняя", "Комментарии", "Ссылка"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Columns) return {};
    return TrText(QString::fromUtf8(captions[section]));
}

void SystemsModel::setSystems(std::vector<tSystemInfo> systems, std::string myMail)
{
    beginResetModel();
    m_systems = std::move(systems);
    m_mail = std::move(myMail);
    endResetModel();
}

void SystemsModel::filesChanged()
{
    if (!m_systems.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, Columns - 1));
}

SystemsView::SystemsView(const ViewContext& ctx) : ContextView(ctx)
{
    setObjectName(QStringLiteral("SystemsTab"));
    m_tools = new QToolBar;
    m_notice = NewCatalogNotice(QStringLiteral("SystemsNotice"));
    m_model = new SystemsModel(folder(), this);
    m_view = new QTableView;
    m_view->setObjectName(QString::fromLatin1(ListName));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    const int dateWidth = m_view->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 12;
    for (const auto& [column, width] : {std::pair{0, 220}, {2, 60}, {3, 50}, {4, 90}, {5, dateWidth}, {6, 80}, {7, 70},
                                        {8, dateWidth}})
        m_view->setColumnWidth(column, width);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_tools);
    layout->addWidget(m_notice);
    layout->addWidget(m_view);
    connect(m_view, &QTableView::doubleClicked, this, [this] {
        if (QAction* a = m_commands.command(cmd::SystemsProp); a && a->isEnabled()) a->trigger();
    });
}

std::filesystem::path SystemsView::folder() const { return m_ws.DataDir() / scenario::SystemsFolderName; }

void SystemsView::createCommands()
{
    const auto shown = [this] { return m_shown; };
    const auto one = [this] { return m_shown && selectedRows().size() == 1; };
    const auto canStake = [this] { return m_shown && m_ws.Combs().Count() > 0 && m_ws.StakesFile().IsOpen(); };
    QAction* on = m_commands.add(cmd::SystemsOn, QStringLiteral("Системная игра"),
                                 QStringLiteral("Показать или скрыть вкладку систем"), [this] { toggleTab(); });
    on->setCheckable(true);
    m_commands.add(cmd::SystemsRefresh, QStringLiteral("Обновить"), QStringLiteral("Обновить список систем"),
                   [this] { refresh(); }, shown);
    m_commands.add(cmd::SystemsDownload, QStringLiteral("Загрузить"), QStringLiteral("Загрузить выбранные системы"),
                   [this] { downloadSelected(); }, [this] { return m_shown && !selectedRows().empty(); });
    m_commands.add(cmd::SystemsAdd, QStringLiteral("Добавить"), QStringLiteral("Опубликовать новую систему"),
                   [this] { addSystem(); }, shown);
    m_commands.add(cmd::SystemsProp, QStringLiteral("Свойства"), QStringLiteral("Свойства системы"), [this] { properties(); },
                   one);
    m_commands.add(cmd::SystemsDel, QStringLiteral("Удалить"), QStringLiteral("Удалить свою систему"),
                   [this] { deleteSystem(); }, [this] {
                       const auto rows = selectedRows();
                       return m_shown && rows.size() == 1 && m_model->isMine(rows[0]);
                   });
    m_commands.add(cmd::SystemStakeAll, QStringLiteral("Cистемная игра по списку системы"), QString(),
                   [this] { stake(true); }, canStake);
    m_commands.add(cmd::SystemStakeFilter, QStringLiteral("Cистемная игра по списку комбинаций"), QString(),
                   [this] { stake(false); }, canStake);
    const std::vector<const char*> names = {cmd::SystemsRefresh, cmd::SystemsDownload, cmd::SystemsAdd, cmd::SystemsProp,
                                            cmd::SystemsDel, TCommandSet::Separator, cmd::SystemStakeAll,
                                            cmd::SystemStakeFilter};
    for (const char* name : names) {
        if (name == TCommandSet::Separator) m_tools->addSeparator();
        else m_tools->addAction(m_commands.command(name));
    }
    auto* context = new QMenu(this);
    m_commands.fillMenu(context, names);
    AppendToContextMenu(context, AddListExportCommand(m_commands, cmd::SystemsXlsExport, m_view, m_shell, m_ws.DataDir(),
                                                      workspace::ExportList::Systems, QStringLiteral("Системы")));
    m_commands.popupOnRequest(m_view, m_view->viewport(), context);
    const auto previous = m_commands.onUpdated;
    m_commands.onUpdated = [this, previous] {
        if (previous) previous();
        m_commands.command(cmd::SystemsOn)->setChecked(m_shown);
        m_commands.command(cmd::SystemStakeAll)->setVisible(m_shown);
        m_commands.command(cmd::SystemStakeFilter)->setVisible(m_shown);
    };
}

std::vector<int> SystemsView::selectedRows() const { return SelectedRows(m_view); }

void SystemsView::selectId(int32_t id)
{
    const auto& systems = m_model->systems();
    for (std::size_t i = 0; i < systems.size(); ++i)
        if (systems[i].Id == id) m_view->selectRow(static_cast<int>(i));
}

void SystemsView::start()
{
    m_shown = m_ws.View().SystemsEnabled;
    // Shown is how the tab starts; bringing it to the front is left to the user.
    if (!m_shown) m_host.setTabShown(this, false);
    if (m_shown) refresh();
}

void SystemsView::refresh()
{
    shell::BusyScope busy(m_shell, "Загрузка списка систем...");
    const auto rows = selectedRows();
    const int32_t keep = rows.empty() ? 0 : m_model->systems()[static_cast<std::size_t>(rows[0])].Id;
    try {
        const online::TCatalogClient client = MakeCatalogClient(m_ws);
        std::vector<tSystemInfo> systems = client.LoadSystemList();
        m_model->setSystems(systems, client.Identity().AuthorMail);
        m_notice->hide();
        // A local file dated otherwise than the catalogue's list is an older list: fetch it again.
        for (const tSystemInfo& s : systems) {
            std::error_code ec;
            if (std::filesystem::exists(online::LocalSystemFile(folder(), s), ec) &&
                !online::LocalSystemCurrent(folder(), s))
                downloadOne(client, s);
        }
        if (keep) selectId(keep);
    } catch (const std::exception& e) {
        // The list shown stays, downloaded systems included.
        ReportCatalogFailure(m_ws, m_notice, e.what(), m_model->rowCount() > 0);
    }
}

void SystemsView::toggleTab()
{
    m_shown = !m_shown;
    m_host.setTabShown(this, m_shown);
    try {
        m_ws.SetViewFlag(&workspace::TViewSettings::SystemsEnabled, m_shown);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка сохранения параметров программы!", e.what());
    }
    if (m_shown) refresh();
    m_commands.updateActions();
}

bool SystemsView::downloadOne(const online::TCatalogClient& client, const tSystemInfo& info)
{
    try {
        shell::BusyScope busy(m_shell, util::Format("Загрузка \"%s\"...", {info.Title}));
        online::SaveDownloadedSystem(folder(), info, client.DownloadSystemCombs(info.Id));
    } catch (const std::exception& e) {
        m_shell.ShowFailure(util::Format("Ошибка загрузки системы #%d!", {info.Id}), e.what());
        m_model->filesChanged();
        return false;
    }
    m_model->filesChanged();
    return true;
}

void SystemsView::downloadSelected()
{
    const online::TCatalogClient client = MakeCatalogClient(m_ws);
    const std::vector<tSystemInfo> systems = m_model->systems();
    for (const int row : selectedRows())
        if (!downloadOne(client, systems[static_cast<std::size_t>(row)])) break;
}

void SystemsView::addSystem()
{
    if (!EnsureOnlineIdentity(m_ws, m_host.mainWindow())) return;
    try {
        const online::TCatalogClient client = MakeCatalogClient(m_ws);
        online::tSystemData d;
        d.AuthorName = client.Identity().AuthorName;
        d.AuthorMail = client.Identity().AuthorMail;
        TFormSystem form(d, true, m_host.mainWindow());
        if (form.exec() != QDialog::Accepted) return;
        d = form.data();
        int32_t id = -1;
        try {
            shell::BusyScope busy(m_shell, util::Format("Сохранение \"%s\"...", {d.Title}));
            id = client.PutSystem(d, false);
        } catch (const std::exception& e) {
            m_shell.ShowFailure(util::Format("Ошибка сохранения системы #%d!", {d.Id}), e.what());
            return;
        }
        refresh();
        selectId(id);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка добавления системы!", e.what());
    }
}

void SystemsView::properties()
{
    const auto rows = selectedRows();
    if (rows.size() != 1) return;
    const tSystemInfo info = m_model->systems()[static_cast<std::size_t>(rows[0])];
    const bool mine = m_model->isMine(rows[0]);
    try {
        const online::TCatalogClient client = MakeCatalogClient(m_ws);
        online::tSystemData d;
        static_cast<tSystemInfo&>(d) = info;
        {
            shell::BusyScope busy(m_shell, util::Format("Загрузка \"%s\"...", {info.Title}));
            d.Combs = online::NormaliseSystemList(client.DownloadSystemCombs(info.Id)).Text;
        }
        TFormSystem form(d, mine, m_host.mainWindow());
        if (form.exec() != QDialog::Accepted || !mine) return;
        online::tSystemData changed = form.data();
        changed.AuthorMail = client.Identity().AuthorMail;
        {
            shell::BusyScope busy(m_shell, util::Format("Сохранение \"%s\"...", {changed.Title}));
            client.PutSystem(changed, false);
        }
        refresh();
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка изменения системы!", e.what());
    }
}

void SystemsView::deleteSystem()
{
    const auto rows = selectedRows();
    if (rows.size() != 1) return;
    const tSystemInfo info = m_model->systems()[static_cast<std::size_t>(rows[0])];
    if (!m_model->isMine(rows[0])) {
        m_shell.ShowError("Вы можете удалять только свои системы!");
        return;
    }
    if (!m_shell.ConfirmCautious(util::Format("Вы действительно хотите удалить систему \"%s\"?", {info.Title}))) return;
    try {
        online::tSystemData d;
        static_cast<tSystemInfo&>(d) = info;
        int32_t result = -1;
        {
            shell::BusyScope busy(m_shell, util::Format("Удаление \"%s\"...", {info.Title}));
            result = MakeCatalogClient(m_ws).PutSystem(d, true);
        }
        if (result == 0) {
            std::error_code ec;
            std::filesystem::remove(online::LocalSystemFile(folder(), info), ec);
            refresh();
        }
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка удаления системы!", e.what());
    }
}

void SystemsView::stake(bool whole)
{
    const game::TByteArray numbers = game::CoveredNumbers(m_ws.Combs().Combs(), m_ws.Combs().Count());
    const int k = static_cast<int>(numbers.size());
    scenario::TSystemCombs system;
    {
        shell::BusyScope busy(m_shell, "Подождите пожалуйста...");
        system = scenario::LoadSystemCombs(folder(), numbers, m_shell);
    }
    if (!system.Loaded) return;
    TFormMultiStake dialog(m_shell, m_ws.NextDrawNo(), m_host.mainWindow());
    dialog.commentEdit()->setText(qs(workspace::SystemStakeComment(whole, system, k)));
    if (dialog.exec() != QDialog::Accepted) return;
    m_shell.SetStatusText("Создание ставок...");
    workspace::AddSystemStakes(m_ws, m_shell, system, whole, dialog.drawNo(), dialog.drawsCount(), dialog.comment(),
                               stakes::TPrizeTable(m_stats.Config()), m_ws.View().StakesScrollEnabled,
                               m_ws.StakeViewHooks(m_shell, stakes::TPrizeTable(m_stats.Config())));
    m_shell.SetStatusText("");
}

void SystemsView::restoreSettings(const workspace::FormSettings& frm)
{
    RestoreListColumns(m_view, frm, ListName);
}

void SystemsView::saveSettings(SettingValues& values) const
{
    SaveListColumns(m_view, ListName, values);
}
