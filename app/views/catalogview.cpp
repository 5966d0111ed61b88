#include "app/views/catalogview.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "app/catalogtexts.h"
#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formcatalog.h"
#include "app/language.h"
#include "app/onlineaccess.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "app/xlsexport.h"
#include "core/scenario/scenario.h"
#include "core/shell/shell.h"
#include "core/util/format.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/workspace.h"
#include "core/workspace/listexport.h"

using namespace kv;
using online::tScriptInfo;

namespace {

constexpr const char* UploadHint = "Опубликовать текущий сценарий в online-каталоге";

// What the dialog and the server get of a listed entry.
online::tScriptData dataOf(const tScriptInfo& e)
{
    online::tScriptData d;
    d.Id = e.Id;
    d.AuthorName = e.AuthorName;
    d.Lcid = e.Lcid;
    d.Universal = e.Universal;
    d.Public = e.Public;
    d.Title = e.Title;
    d.Descr = e.Descr;
    return d;
}

} // namespace

int CatalogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int CatalogModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Columns; }

QVariant CatalogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(m_entries.size())) return {};
    const tScriptInfo& e = m_entries[static_cast<std::size_t>(index.row())];
    if (role == Qt::DecorationRole && index.column() == 0)
        return QApplication::style()->standardIcon(e.Public ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case 0: return TrText(e.Mine ? QStringLiteral("Мой") : QStringLiteral("Общий"));
    case 1: return qs(e.Title);
    case 2: return qs(e.AuthorName);
    case 3: return e.Universal ? TrText(QStringLiteral("Универсальный")) : qs(e.AppName);
    case 4: return qs(e.AppVer);
    case 5: return LanguageName(e.Lcid);
    case 6: return CatalogTime(e.Created);
    case 7: return QLocale().toString(e.RatingAvg, 'f', 3);
    case 8: return e.RatingCount;
    case 9: return e.MyRating < 0 ? TrText(QStringLiteral("Скрытый")) : e.MyRating > 0 ? QString::number(e.MyRating) : QString();
    case 10: return e.Downloads;
    case 11: return CatalogTime(e.LastDownload);
    case 12: return qs(e.Descr).replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
    default: return {};
    }
}

QVariant CatalogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const captions[Columns] = {"Тип",    "Название",    "Автор",    "Программа", "Версия",
                                                  "Язык",   "Создан",      "Рейтинг",  "Оценок",    "Ваша оценка",
                                                  "Загрузок", "Последняя", "Комментарии"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Columns) return {};
    return TrText(QString::fromUtf8(captions[section]));
}

void CatalogModel::setEntries(std::vector<tScriptInfo> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    m_more = nullptr;
    m_complete = true;
    endResetModel();
}

void CatalogModel::setPages(TPageLoader more, std::function<void(const std::string&)> failed)
{
    setEntries({});
    m_more = std::move(more);
    m_failed = std::move(failed);
    m_complete = false;
    fetchMore({});
}

bool CatalogModel::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && !m_complete; }

void CatalogModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent) || !m_more) return;
    std::vector<tScriptInfo> page;
    bool more = false;
    try {
        page = m_more(static_cast<int32_t>(m_entries.size()), more);
    } catch (const std::exception& e) {
        // A page that did not come ends the list here; refreshing starts it again.
        m_complete = true;
        if (m_failed) m_failed(e.what());
        return;
    }
    // The server says when entries follow; a page it cut short for its size is not the end, and a
    // server that gives everything at once never sends the same entries again.
    m_complete = !more;
    if (page.empty()) return;
    const int first = static_cast<int>(m_entries.size());
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    for (tScriptInfo& e : page) m_entries.push_back(std::move(e));
    endInsertRows();
}

CatalogView::CatalogView(const ViewContext& ctx, QWidget* scenarioPage, QTableView* lines,
                         std::function<void()> scenarioReplaced)
    : ContextView(ctx), m_scenarioReplaced(std::move(scenarioReplaced))
{
    setObjectName(QStringLiteral("ScriptLibraryPanel"));
    m_filter = new QComboBox;
    m_filter->setObjectName(QStringLiteral("ScriptLibraryFilter"));
    for (const std::string& caption : online::CatalogFilterCaptions()) m_filter->addItem(qs(caption));
    m_filter->setCurrentIndex(online::DefaultCatalogFilter);
    m_notice = NewCatalogNotice(QStringLiteral("ScriptLibraryNotice"));
    m_model = new CatalogModel(this);
    m_view = new QTableView;
    m_view->setObjectName(QString::fromLatin1(ListName));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    m_view->horizontalHeader()->setStretchLastSection(true);
    const int dateWidth = m_view->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 12;
    for (const auto& [column, width] : {std::pair{0, 70}, {1, 220}, {4, 60}, {5, 80}, {6, dateWidth}, {7, 70}, {8, 60},
                                        {10, 70}, {11, dateWidth}})
        m_view->setColumnWidth(column, width);

    auto* top = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Фильтр сценариев"));
    caption->setBuddy(m_filter);
    top->addWidget(caption);
    top->addWidget(m_filter);
    top->addWidget(m_notice, 1);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_view);

    // The scenario lines and this panel share the tab, one above the other.
    m_splitter = new QSplitter(Qt::Vertical);
    m_splitter->setObjectName(QStringLiteral("ScriptLibrarySplitter"));
    if (QLayout* host = scenarioPage->layout(); host && host->replaceWidget(lines, m_splitter)) {
        m_splitter->addWidget(lines);
        m_splitter->addWidget(this);
        m_splitter->setStretchFactor(0, 3);
        m_splitter->setStretchFactor(1, 2);
    } else if (scenarioPage->layout()) {
        scenarioPage->layout()->addWidget(this);
    }

    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_shell.IsBusy()) refresh();
    });
    connect(m_view, &QTableView::doubleClicked, this, [this] {
        if (QAction* a = m_commands.command(cmd::ScriptLibraryView); a && a->isEnabled()) a->trigger();
    });
}

void CatalogView::createCommands()
{
    const auto shown = [this] { return panelShown(); };
    const auto chosen = [this] { return panelShown() && selected() != nullptr; };
    const auto hasLines = [this] { return !m_ws.Scenario().Empty(); };
    QAction* toggle = m_commands.add(cmd::ScriptLibrary, QStringLiteral("Online каталог сценариев"),
                                     QStringLiteral("Показать или скрыть online каталог сценариев"), [this] { togglePanel(); });
    toggle->setCheckable(true);
    m_commands.add(cmd::ScriptLibraryRefresh, QStringLiteral("Обновить"), QStringLiteral("Обновить список сценариев"),
                   [this] { refresh(); }, shown);
    m_commands.add(cmd::ScriptLibraryDownload, QStringLiteral("Скачать из каталога"), QString(), [this] { download(); },
                   [this] { return panelShown() && selected() && selected()->Applicable; });
    m_commands.add(cmd::ScriptLibraryUpload, QStringLiteral("Опубликовать"), QString::fromUtf8(UploadHint),
                   [this] { upload(); }, [shown, hasLines] { return shown() && hasLines(); });
    m_commands.add(cmd::ScriptLibraryReplace, QStringLiteral("Изменить"), QString(), [this] { replace(); },
                   [this, hasLines] { return panelShown() && selected() && selected()->Editable && hasLines(); });
    m_commands.add(cmd::ScriptLibraryDelete, QStringLiteral("Удалить"), QString(), [this] { remove(); },
                   [this] { return panelShown() && selected() && selected()->Editable; });
    m_commands.add(cmd::ScriptLibraryView, QStringLiteral("Свойства сценария"), QString(), [this] { viewProperties(); },
                   chosen);
    m_commands.add(cmd::ScriptLibraryRates, QStringLiteral("Просмотр оценок"), QString(), [this] { showRates(); }, chosen);
    m_commands.add(cmd::ScriptLibraryRate0, QStringLiteral("Удалить оценку"), QString(), [this] { rate(0); },
                   [this] { return panelShown() && selected() && selected()->MyRating != 0; });
    static const char* const captions[] = {"[ 1 ] - Бесполезно", "[ 2 ] - Плохо", "[ 3 ] - Удовлетворительно",
                                           "[ 4 ] - Хорошо", "[ 5 ] - Отлично"};
    for (int v = 1; v <= 5; ++v) {
        QAction* a = m_commands.add(cmd::ScriptLibraryRateValues[v], QString::fromUtf8(captions[v - 1]), QString(), [this, v] { rate(v); },
                                    chosen);
        a->setCheckable(true);
    }
    QAction* hide = m_commands.add(cmd::ScriptLibraryHide, QStringLiteral("Скрыть сценарий"), QString(), [this] { rate(-1); },
                                   chosen);
    hide->setCheckable(true);

    // Check marks follow the selected entry.
    const auto previous = m_commands.onUpdated;
    m_commands.onUpdated = [this, previous] {
        if (previous) previous();
        const tScriptInfo* e = selected();
        const int mine = e ? e->MyRating : 0;
        for (int v = 1; v <= 5; ++v)
            m_commands.command(cmd::ScriptLibraryRateValues[v])->setChecked(mine == v);
        m_commands.command(cmd::ScriptLibraryHide)->setChecked(mine < 0);
        m_commands.command(cmd::ScriptLibrary)->setChecked(panelShown());
        explainUpload();
    };

    auto* context = new QMenu(this);
    m_commands.fillMenu(context, {cmd::ScriptLibraryRefresh, TCommandSet::Separator, cmd::ScriptLibraryDownload,
                                  cmd::ScriptLibraryUpload, cmd::ScriptLibraryReplace, cmd::ScriptLibraryDelete,
                                  TCommandSet::Separator, cmd::ScriptLibraryView, cmd::ScriptLibraryRates});
    QMenu* rating = context->addMenu(QStringLiteral("Оценка"));
    m_commands.fillMenu(rating, {cmd::ScriptLibraryRate1, cmd::ScriptLibraryRate2, cmd::ScriptLibraryRate3, cmd::ScriptLibraryRate4,
                                 cmd::ScriptLibraryRate5, TCommandSet::Separator, cmd::ScriptLibraryRate0});
    m_commands.fillMenu(context, {cmd::ScriptLibraryHide});
    AppendToContextMenu(context,
                        AddListExportCommand(m_commands, cmd::ScriptLibraryXlsExport, m_view, m_shell, m_ws.DataDir(),
                                             workspace::ExportList::Catalogue, QStringLiteral("Каталог сценариев")));
    m_commands.popupOnRequest(m_view, m_view->viewport(), context);
}

// A greyed menu entry shows nothing on its own, so the tooltip of "Опубликовать" names what it
// waits for and the menus holding it show tooltips.
void CatalogView::explainUpload()
{
    QAction* upload = m_commands.command(cmd::ScriptLibraryUpload);
    const char* hint = UploadHint;
    if (!upload->isEnabled() && !m_shell.IsBusy()) {
        if (!panelShown())
            hint = "Опубликовать можно из открытого online каталога сценариев: включите его в меню \"Каталог\"";
        else if (m_ws.Scenario().Empty())
            hint = "Опубликовать нечего: в сценарии нет строк. Составьте сценарий или откройте его из файла, затем "
                   "опубликуйте";
    }
    const QString text = TrText(QString::fromUtf8(hint));
    upload->setToolTip(text);
    upload->setStatusTip(text);
    for (QObject* holder : upload->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(holder)) menu->setToolTipsVisible(true);
}

bool CatalogView::panelShown() const { return !isHidden(); }

int CatalogView::filterIndex() const { return m_filter->currentIndex(); }

const tScriptInfo* CatalogView::selected() const
{
    const QModelIndex current = m_view->selectionModel()->currentIndex();
    if (!current.isValid() || !m_view->selectionModel()->isRowSelected(current.row(), {})) return nullptr;
    return &m_model->entries()[static_cast<std::size_t>(current.row())];
}

void CatalogView::selectId(int32_t id)
{
    const auto& entries = m_model->entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Id == id) {
            m_view->selectRow(static_cast<int>(i));
            return;
        }
}

void CatalogView::start()
{
    setVisible(m_ws.View().ScriptLibraryOn);
    refresh();
}

void CatalogView::refresh()
{
    shell::BusyScope busy(m_shell, "Загрузка online-каталога сценариев...");
    const int32_t keep = selected() ? selected()->Id : 0;
    if (!panelShown()) {
        m_model->setEntries({});
        return;
    }
    // A first page that does not come keeps what was shown: a server that is down for a moment
    // costs the user nothing. Pages asked for later, as the list scrolls, report into the same line.
    std::vector<tScriptInfo> shown = m_model->entries();
    m_pageFailed = false;
    const int filter = filterIndex();
    m_model->setPages(
        [this, client = MakeCatalogClient(m_ws), filter](int32_t offset, bool& more) {
            shell::BusyScope loading(m_shell, "Загрузка online-каталога сценариев...");
            return client.LoadCatalogue(filter, offset, online::CatalogPageSize, &more);
        },
        [this](const std::string& why) {
            m_pageFailed = true;
            m_failure = why;
            ReportCatalogFailure(m_ws, m_notice, why, m_model->rowCount() > 0);
        });
    if (m_pageFailed) {
        if (m_model->rowCount() == 0 && !shown.empty()) {
            m_model->setEntries(std::move(shown));
            ReportCatalogFailure(m_ws, m_notice, m_failure, true);
            if (keep) selectId(keep);
        }
        return;
    }
    m_notice->hide();
    if (keep) selectId(keep);
}

void CatalogView::togglePanel()
{
    const bool on = !panelShown();
    setVisible(on);
    try {
        m_ws.SetViewFlag(&workspace::TViewSettings::ScriptLibraryOn, on);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка сохранения параметров программы!", e.what());
    }
    m_commands.command(cmd::ScriptLibrary)->setChecked(on);
    refresh();
}

std::string CatalogView::scenarioText() const
{
    std::string text;
    for (const std::string& line : m_ws.Scenario().Lines()) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

void CatalogView::download()
{
    const tScriptInfo* e = selected();
    if (!e || !m_ws.Scenario().MayReplace(m_shell)) return;
    const int32_t id = e->Id;
    try {
        std::string text;
        {
            shell::BusyScope busy(m_shell, "Скачивание сценария из online-каталога...");
            text = MakeCatalogClient(m_ws).DownloadScript(id);
        }
        if (online::ReplaceScenarioWithText(m_ws.Scenario(), text, m_shell)) m_scenarioReplaced();
        refresh();
    } catch (const std::exception& ex) {
        m_shell.ShowFailure("Ошибка загрузки online-сценария!", ex.what());
    }
}

bool CatalogView::editAndSend(online::tScriptData script, const online::TCatalogClient& client)
{
    const QString program = QFileInfo(QApplication::applicationFilePath()).completeBaseName();
    int32_t newId = 0;
    const auto check = [&](TFormScriptProps& form) {
        const online::tScriptData d = form.data();
        if (d.Title.empty()) {
            m_shell.ShowError("Название сценария должно быть указано обязательно!");
            form.titleEdit()->setFocus();
            return false;
        }
        try {
            shell::BusyScope busy(m_shell);
            if (!client.CheckTitle(d.Id, d.Title)) {
                m_shell.ShowError("Сценарий с таким названием уже существует!\nВыберите другое название.");
                form.titleEdit()->setFocus();
                return false;
            }
        } catch (const std::exception& e) {
            m_shell.ShowFailure("Ошибка проверки уникальности online-сценария!", e.what());
            form.titleEdit()->setFocus();
            return false;
        }
        if (d.AuthorName.empty()) {
            m_shell.ShowError("Имя автора должно быть указано обязательно!");
            form.authorEdit()->setFocus();
            return false;
        }
        try {
            shell::BusyScope busy(m_shell, "Сохранение сценария в базе данных...");
            newId = client.PutScript(d, scenarioText());
        } catch (const std::exception& e) {
            m_shell.ShowFailure("Ошибка сохранения online-сценария в базе данных!", e.what());
            return false;
        }
        return true;
    };
    TFormScriptProps form(script, program, check, m_host.mainWindow());
    if (form.exec() != QDialog::Accepted) return false;
    refresh();
    selectId(newId);
    return true;
}

void CatalogView::upload()
{
    if (!EnsureOnlineIdentity(m_ws, m_host.mainWindow())) return;
    try {
        const online::TCatalogClient client = MakeCatalogClient(m_ws);
        online::tScriptData d;
        d.AuthorName = client.Identity().AuthorName;
        d.Lcid = client.Identity().Lcid;
        editAndSend(d, client);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка публикации online-сценария!", e.what());
    }
}

void CatalogView::replace()
{
    const tScriptInfo* e = selected();
    if (!e || !EnsureOnlineIdentity(m_ws, m_host.mainWindow())) return;
    const online::tScriptData d = dataOf(*e);
    try {
        editAndSend(d, MakeCatalogClient(m_ws));
    } catch (const std::exception& ex) {
        m_shell.ShowFailure("Ошибка публикации online-сценария!", ex.what());
    }
}

void CatalogView::remove()
{
    const tScriptInfo* e = selected();
    if (!e) return;
    // Taken before the question: the list may be reloaded while it is up.
    const online::tScriptData d = dataOf(*e);
    if (!m_shell.ConfirmCautious(util::Format("Вы действительно хотите удалить сценарий \"%s\"?", {d.Title}))) return;
    try {
        int32_t result = -1;
        {
            shell::BusyScope busy(m_shell, "Удаление сценария из базы данных...");
            result = MakeCatalogClient(m_ws).DeleteScript(d);
        }
        if (result == 0) refresh();
    } catch (const std::exception& ex) {
        m_shell.ShowFailure("Ошибка удаления online-сценария из базы данных!", ex.what());
    }
}

void CatalogView::viewProperties()
{
    const tScriptInfo* e = selected();
    if (!e) return;
    try {
        const online::tScriptData d = dataOf(*e);
        TFormScriptProps form(d, QFileInfo(QApplication::applicationFilePath()).completeBaseName(), {},
                              m_host.mainWindow());
        form.exec();
    } catch (const std::exception& ex) {
        m_shell.ShowFailure("Ошибка просмотра свойств online-сценария!", ex.what());
    }
}

void CatalogView::showRates()
{
    const tScriptInfo* e = selected();
    if (!e) return;
    try {
        std::vector<online::tRateInfo> rates;
        {
            shell::BusyScope busy(m_shell, "Загрузка списка оценок...");
            rates = MakeCatalogClient(m_ws).LoadRates(e->Id);
        }
        TFormRates form(rates, m_host.mainWindow());
        form.exec();
    } catch (const std::exception& ex) {
        m_shell.ShowFailure("Ошибка просмотра оценок online-сценария!", ex.what());
    }
}

void CatalogView::rate(int value)
{
    const tScriptInfo* e = selected();
    if (!e) return;
    const int32_t id = e->Id;
    std::string notes;
    if (value > 0) {
        bool ok = false;
        const QString text = QInputDialog::getText(m_host.mainWindow(), QStringLiteral("Комментарий"),
                                                   QStringLiteral("Вы можете оставить свой комментарий:"),
                                                   QLineEdit::Normal, QString(), &ok);
        if (!ok) {
            m_commands.updateActions();
            return;
        }
        notes = us(text);
    }
    if (!EnsureOnlineIdentity(m_ws, m_host.mainWindow())) return;
    try {
        {
            shell::BusyScope busy(m_shell, "Отправка оценки на сервер...");
            MakeCatalogClient(m_ws).RateScript(id, value, notes);
        }
        refresh();
    } catch (const std::exception& ex) {
        m_shell.ShowFailure("Ошибка сохранения оценки online-сценария!", ex.what());
    }
    m_commands.updateActions();
}

void CatalogView::restoreSettings(const workspace::FormSettings& frm)
{
    RestoreListColumns(m_view, frm, ListName);
    const int filter = frm.ReadInt("ScriptLibraryFilter", online::DefaultCatalogFilter);
    const QSignalBlocker quiet(m_filter);
    m_filter->setCurrentIndex(filter >= 0 && filter < m_filter->count() ? filter : online::DefaultCatalogFilter);
    RestoreLowerPane(m_splitter, frm.ReadInt("ScriptLibraryHeight", -1));
}

void CatalogView::saveSettings(SettingValues& values) const
{
    SaveListColumns(m_view, ListName, values);
    values.emplace_back("ScriptLibraryFilter", std::to_string(filterIndex()));
    if (panelShown()) values.emplace_back("ScriptLibraryHeight", std::to_string(m_splitter->sizes().value(1)));
}
