#include "app/views/graphsview.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/qtshell.h"
#include "app/views/analysischart.h"
#include "app/views/analysistabs.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/workspace.h"

using namespace kv;

GraphsView::GraphsView(const ViewContext& ctx) : ContextView(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    m_chooser = new QComboBox;
    m_chooser->setObjectName(QString::fromLatin1(analysis::TDrawsGraphBuilder::ChooserName));
    // Short enough that this tab's row never makes the right panel wider than the window leaves
    // it beside a draw list shown whole; the chooser still stretches over the free space.
    m_chooser->setMinimumContentsLength(12);
    m_chooser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_length = NewLengthEdit(QStringLiteral("DrawsGraphLen"), 100,
                             QStringLiteral("Количество тиражей, использующихся для построения графиков"));
    m_marks = new QCheckBox(QStringLiteral("Отображать метки на графике"));
    m_refresh = new QToolButton;
    top->addWidget(new QLabel(QStringLiteral("Тип графика:")));
    top->addWidget(m_chooser, 1);
    top->addWidget(new QLabel(QStringLiteral("Тиражей:")));
    top->addWidget(m_length);
    top->addWidget(m_refresh);
    top->addWidget(m_marks);
    layout->addLayout(top);
    m_chart = new AnalysisChart;
    layout->addWidget(m_chart, 1);

    connect(m_chooser, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        if (!m_shell.IsBusy() && chosenMethod() >= 0 && m_ws.DrawCount() > 0) refresh(false);
    });
    OnEnter(m_length, [this] {
        if (!m_shell.IsBusy()) refresh(false);
    });
    connect(m_marks, &QCheckBox::toggled, this, [this](bool on) {
        if (m_values) m_values->setPointLabelsVisible(on);
    });
    follow(workspace::TChange::Analysis, [this] { refresh(false); });
    // The charted values follow the settings.
    follow(workspace::TChange::Parameters, [this] { refresh(true); });
    follow(workspace::TChange::Choosers, [this] {
        const workspace::TChooserChange& how = m_ws.Shared().ChooserChange();
        fillChooser(stats::BuildChoosers(m_stats), how.KeepSelection);
        // A rebuilt registry may put another method at the chosen place.
        if (how.Reloaded) refresh(true);
    });
}

void GraphsView::createCommands()
{
    m_commands.add(cmd::DrawsGraphDraw, QStringLiteral("Обновить"), QStringLiteral("Построить графики по выбранным параметрам"),
                   [this] { refresh(true); }, [this] { return m_ws.DrawCount() > 0 && chosenMethod() >= 0; });
    QAction* tab = m_commands.add(cmd::TabGraps, QStringLiteral("Вкладка \"Графики\""),
                                  QStringLiteral("Скрыть / показать вкладку \"Графики\""), [this] { tabGraphs(); });
    tab->setCheckable(true);
    m_refresh->setDefaultAction(m_commands.command(cmd::DrawsGraphDraw));
    m_refresh->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void GraphsView::fillChooser(const stats::TChoosers& choosers, bool keepSelection)
{
    const int previous = keepSelection ? m_chooser->currentIndex() : 0;
    const QSignalBlocker block(m_chooser);
    m_chooser->clear();
    m_methods.clear();
    for (const auto& entry : choosers.Graph) {
        m_chooser->addItem(qs(entry.Name));
        m_methods.push_back(entry.Method);
    }
    if (previous >= 0 && previous < m_chooser->count()) m_chooser->setCurrentIndex(previous);
    else if (m_chooser->count() > 0) m_chooser->setCurrentIndex(0);
}

int GraphsView::chosenMethod() const
{
    const int i = m_chooser->currentIndex();
    return i >= 0 && i < static_cast<int>(m_methods.size()) ? m_methods[i] : -1;
}

void GraphsView::refresh(bool force)
{
    if (!tabShown()) return;
    try {
        if (!m_builder.Build(m_stats, chosenMethod(), m_ws.DrawsOffset(), m_length->value(), m_ws.View().SortedDraws,
                             m_shell, force))
            return;
    } catch (const std::exception& e) {
        m_shell.ShowError(e.what());
    }
    drawChart();
}

void GraphsView::drawChart()
{
    m_chart->clear();
    m_values = nullptr;
    const analysis::TDrawsGraph& g = m_builder.Graph();
    if (g.Empty()) return;
    m_chart->setUpValueAxes();
    QList<QPointF> values, average, frequent;
    for (const analysis::TGraphPoint& p : g.Values) {
        values.append(QPointF(p.DrawNo, p.Value));
        average.append(QPointF(p.DrawNo, g.Average));
        frequent.append(QPointF(p.DrawNo, g.MostFrequent));
    }
    m_values = m_chart->addLine(m_chooser->currentText(), QColor(0x00, 0x80, 0x00), values);
    m_values->setPointLabelsFormat(QStringLiteral("@yPoint"));
    m_values->setPointLabelsClipping(false);
    m_values->setPointLabelsVisible(m_marks->isChecked());
    m_chart->trackHover(m_values, AnalysisChart::drawPointText);
    QLineSeries* avg = m_chart->addLine(QStringLiteral("Среднее значение"), QColor(0x00, 0x00, 0xFF), average);
    m_chart->trackHover(avg, AnalysisChart::drawPointText);
    QLineSeries* top = m_chart->addLine(QStringLiteral("Наиболее часто встречающееся значение"), QColor(0xFF, 0x00, 0x00), frequent);
    m_chart->trackHover(top, AnalysisChart::drawPointText);
    m_chart->addMarks(m_values);
    m_chart->fitValueAxes();
}

void GraphsView::showTab(bool visible)
{
    ShowAnalysisTab(this, m_host, m_commands, cmd::TabGraps, visible);
}

void GraphsView::tabGraphs()
{
    if (ToggleAnalysisTab(this, m_ws, m_shell, m_host, m_commands, cmd::TabGraps, &workspace::TViewSettings::TabGraphs)) refresh(true);
}

void GraphsView::restoreSettings(const workspace::FormSettings& frm)
{
    m_length->setValue(std::max(1, frm.ReadInt("DrawsGraphLen", 100)));
    showTab(tabShown());
}

void GraphsView::saveSettings(SettingValues& values) const
{
    values.emplace_back("DrawsGraphLen", std::to_string(m_length->value()));
}
