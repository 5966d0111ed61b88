#include "app/views/weekview.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>
#include <set>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/qtshell.h"
#include "app/viewutil.h"
#include "app/views/analysischart.h"
#include "app/views/analysistabs.h"
#include "app/xlsexport.h"
#include "app/language.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/workspace.h"
#include "core/workspace/listexport.h"

using namespace kv;

WeekView::WeekView(const ViewContext& ctx) : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    m_length = NewLengthEdit(QStringLiteral("WeekLen"), 1000,
                             QStringLiteral("Количество тиражей, использующихся для расчета статистики"));
    m_refresh = new QToolButton;
    top->addWidget(new QLabel(QStringLiteral("Тиражей:")));
    top->addWidget(m_length);
    top->addWidget(m_refresh);
    top->addStretch();
    layout->addLayout(top);

    m_splitter = new QSplitter(Qt::Vertical);
    m_table = new QTableWidget(analysis::WeekDays, game::MaxNumber);
    m_table->setObjectName(QStringLiteral("WeekTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setVerticalHeaderLabels(weekdayNames());
    QStringList numbers;
    for (int n = game::MinNumber; n <= game::MaxNumber; ++n) numbers << QString::number(n);
    m_table->setHorizontalHeaderLabels(numbers);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setMinimumSectionSize(m_table->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 6);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->verticalHeader()->setHighlightSections(false);
    m_table->setCurrentCell(0, 0);
    m_chart = new AnalysisChart;
    m_splitter->addWidget(m_table);
    m_splitter->addWidget(m_chart);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({m_table->verticalHeader()->defaultSectionSize() * 8 + 8, 300});
    layout->addWidget(m_splitter, 1);

    OnEnter(m_length, [this] {
        if (!m_shell.IsBusy()) refresh(false);
    });
    connect(m_table, &QTableWidget::currentCellChanged, this, [this] { drawChart(); });
    follow(workspace::TChange::Analysis, [this] { refresh(false); });
}

QStringList WeekView::weekdayNames()
{
    const QLocale locale = InterfaceLocale();
    QStringList names;
    for (int d = 1; d <= 7; ++d) {
        QString name = locale.dayName(d, QLocale::ShortFormat);
        if (!name.isEmpty()) name[0] = name[0].toUpper();
        names << name;
    }
    return names;
}

void WeekView::createCommands()
{
    const auto shown = [this] { return tabShown(); };
    m_commands.add(cmd::WeekStatCalc, QStringLiteral("Обновить"), QStringLiteral("Пересчитать статистику по выбранным параметрам"),
                   [this] { refresh(true); }, [this] { return tabShown() && m_ws.DrawCount() > 0; });
    QAction* mode = m_commands.add(cmd::ViewWeekChartMode, QStringLiteral("График по дням недели"),
                                   QStringLiteral("Режим графика на вкладке \"дни недели\""), [this] {
                                       workspace::TViewSettings s = m_ws.View();
                                       s.WeekChartMode = s.WeekChartMode == 1 ? 0 : 1;
                                       try {
                                           m_ws.SetViewSettings(s);
                                       } catch (const std::exception& e) {
                                           m_shell.ShowFailure("Ошибка сохранения параметров программы!", e.what());
                                       }
                                       m_commands.command(cmd::ViewWeekChartMode)->setChecked(m_ws.View().WeekChartMode == 1);
                                       drawChart();
                                   }, shown);
    mode->setCheckable(true);
    mode->setChecked(m_ws.View().WeekChartMode == 1);
    QAction* type = m_commands.add(cmd::ViewWeekChartType, QStringLiteral("График / диаграмма"),
                                   QStringLiteral("Вид графика на вкладке \"Дни недели\""), [this] {
                                       SaveViewFlag(m_ws, m_shell, &workspace::TViewSettings::WeekChartType,
                                                    !m_ws.View().WeekChartType);
                                       m_commands.command(cmd::ViewWeekChartType)->setChecked(m_ws.View().WeekChartType);
                                       drawChart();
                                   }, shown);
    type->setCheckable(true);
    type->setChecked(m_ws.View().WeekChartType);
    QAction* tab = m_commands.add(cmd::TabWeek, QStringLiteral("Вкладка \"Неделя\""),
                                  QStringLiteral("Скрыть / показать вкладку \"Неделя\""), [this] { tabWeek(); });
    tab->setCheckable(true);
    const auto filter = [this] { return tabShown() && !m_ws.Combs().Empty(); };
    m_commands.add(cmd::WeekFilter_Include, QStringLiteral("Оставить выделенные"),
                   QStringLiteral("В списке комбинаций оставить комбинации с выделенными числами"),
                   [this] { weekFilter(false); }, filter);
    m_commands.add(cmd::WeekFilter_Exclude, QStringLiteral("Удалить выделенные"),
                   QStringLiteral("Из списка комбинаций удалить комбинации с выделенными числами"),
                   [this] { weekFilter(true); }, filter);
    m_refresh->setDefaultAction(m_commands.command(cmd::WeekStatCalc));
    m_refresh->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_commands.fillContextMenu(m_table, {cmd::WeekFilter_Include, cmd::WeekFilter_Exclude, TCommandSet::Separator, cmd::WeekStatCalc,
                                         cmd::ViewWeekChartMode, cmd::ViewWeekChartType});
    AppendToContextMenu(m_table, AddListExportCommand(m_commands, cmd::WeekXlsExport, m_table, m_shell, m_ws.DataDir(),
                                                      workspace::ExportList::Week, QStringLiteral("Неделя")));
}

void WeekView::refresh(bool force)
{
    if (!tabShown()) return;
    if (!m_week.Build(m_ws.Draws(), m_ws.DrawsOffset(), m_length->value(), m_shell, force)) return;
    fillTable();
    drawChart();
}

void WeekView::fillTable()
{
    const analysis::TWeekStat& s = m_week.Stat();
    for (int d = 0; d < analysis::WeekDays; ++d)
        for (int n = game::MinNumber; n <= game::MaxNumber; ++n) {
            auto* item = new QTableWidgetItem(qs(s.CellText(n, d)));
            item->setTextAlignment(Qt::AlignCenter);
            uint32_t rgb = 0;
            if (analysis::WeekCellColor(s.Count(n, d), s.Max, rgb)) {
                item->setBackground(QColor(QRgb(rgb)));
                item->setForeground(QColor(QRgb(analysis::ReadableTextColor(rgb))));
            }
            m_table->setItem(d, n - 1, item);
        }
}

void WeekView::drawChart()
{
    shell::BusyScope busy(m_shell, analysis::TWeekView::StatusText);
    m_chart->clear();
    const int row = std::max(0, m_table->currentRow());
    const int col = std::max(0, m_table->currentColumn());
    const bool byWeekdays = m_ws.View().WeekChartMode == 1;
    const std::vector<int> values = analysis::WeekChartValues(
        m_week.Stat(), byWeekdays ? analysis::TWeekChartMode::Weekdays : analysis::TWeekChartMode::Numbers, col + 1, row);
    QStringList categories;
    if (byWeekdays) categories = weekdayNames();
    else
        for (int n = game::MinNumber; n <= game::MaxNumber; ++n) categories << QString::number(n);
    QString day = InterfaceLocale().dayName(row + 1, QLocale::LongFormat);
    if (!day.isEmpty()) day[0] = day[0].toUpper();
    const QString title = byWeekdays ? TrText(QStringLiteral("Число %1 по дням недели")).arg(col + 1)
                                     : TrText(QStringLiteral("%1: все числа")).arg(day);
    const QColor green(0x00, 0x80, 0x00);
    auto* axisX = new QBarCategoryAxis;
    axisX->append(categories);
    auto* axisY = new QValueAxis;
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->chart()->addAxis(axisX, Qt::AlignBottom);
    m_chart->chart()->addAxis(axisY, Qt::AlignLeft);
    const auto tip = [categories, values](int i) {
        return QStringLiteral("%1: %2").arg(categories.value(i)).arg(values[static_cast<std::size_t>(i)]);
    };
    if (m_ws.View().WeekChartType) {
        auto* line = new QLineSeries;
        line->setName(title);
        QPen pen(green);
        pen.setWidth(2);
        line->setPen(pen);
        auto* marks = new QScatterSeries;
        marks->setMarkerSize(6);
        marks->setColor(green);
        marks->setBorderColor(QColor(0xFF, 0x00, 0xFF));
        for (int i = 0; i < static_cast<int>(values.size()); ++i) {
            line->append(i, values[static_cast<std::size_t>(i)]);
            marks->append(i, values[static_cast<std::size_t>(i)]);
        }
        for (QXYSeries* s : {static_cast<QXYSeries*>(line), static_cast<QXYSeries*>(marks)}) {
            m_chart->chart()->addSeries(s);
            s->attachAxis(axisX);
            s->attachAxis(axisY);
            m_chart->trackHover(s, [tip](const QPointF& p) { return tip(qRound(p.x())); });
        }
        m_chart->chart()->legend()->markers(marks).value(0)->setVisible(false);
    } else {
        auto* set = new QBarSet(title);
        set->setColor(green);
        set->setBorderColor(green.darker(130));
        for (int v : values) set->append(v);
        auto* bars = new QBarSeries;
        bars->append(set);
        bars->setBarWidth(0.6);
        m_chart->chart()->addSeries(bars);
        bars->attachAxis(axisX);
        bars->attachAxis(axisY);
        connect(set, &QBarSet::hovered, m_chart, [tip](bool on, int i) {
            if (on) QToolTip::showText(QCursor::pos(), tip(i));
            else QToolTip::hideText();
        });
    }
    int top = 1;
    for (int v : values) top = std::max(top, v);
    SetWholeNumberRange(axisY, 0, top * 1.08, 0);
}

std::vector<int> WeekView::selectedNumbers() const
{
    std::set<int> numbers;
    for (const QModelIndex& i : m_table->selectionModel()->selectedIndexes()) numbers.insert(i.column() + 1);
    return {numbers.begin(), numbers.end()};
}

void WeekView::weekFilter(bool exclude)
{
    RunNumberFilter(m_ws, m_stats, m_shell, filters::TNumberView::Week, [this] { return selectedNumbers(); }, exclude);
}

void WeekView::showTab(bool visible)
{
    ShowAnalysisTab(this, m_host, m_commands, cmd::TabWeek, visible);
}

void WeekView::tabWeek()
{
    if (ToggleAnalysisTab(this, m_ws, m_shell, m_host, m_commands, cmd::TabWeek, &workspace::TViewSettings::TabWeek)) refresh(true);
}

void WeekView::restoreSettings(const workspace::FormSettings& frm)
{
    m_length->setValue(std::max(1, frm.ReadInt("WeekLen", 1000)));
    RestoreLowerPane(m_splitter, frm.ReadInt("WeekHeight", -1));
    showTab(tabShown());
}

void WeekView::saveSettings(SettingValues& values) const
{
    values.emplace_back("WeekLen", std::to_string(m_length->value()));
    values.emplace_back("WeekHeight", std::to_string(m_splitter->sizes().value(1)));
}
