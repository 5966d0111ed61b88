#include "app/views/repeatsview.h"

#include <QChart>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/qtshell.h"
#include "app/views/analysischart.h"
#include "app/views/analysistabs.h"
#include "app/viewutil.h"
#include "app/xlsexport.h"
#include "app/language.h"
#include "core/shell/shell.h"
#include "core/util/format.h"
#include "core/workspace/listexport.h"

using namespace kv;

namespace {

const char* const Columns[] = {"Тираж", "Совпадений", "Кол-во повторов", "Список тиражей"};
constexpr const char* ListName = "RepeatsList";

// The lines' colours: a random hue to start with, the next lines a golden-ratio turn of the
// colour wheel further each, so that neighbouring match counts never share a shade.
class LineColors {
public:
    LineColors() : m_hue(QRandomGenerator::global()->bounded(360)) {}
    QColor next()
    {
        const QColor c = QColor::fromHsv(m_hue, 220, 200);
        m_hue = (m_hue + 222) % 360;
        return c;
    }

private:
    int m_hue;
};

} // namespace

int RepeatsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_repeats.Rows.size());
}

int RepeatsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant RepeatsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const analysis::TRepeatRow& row = m_repeats.Rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == 3 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case 0: return row.DrawNo;
    case 1: return row.Matches;
    case 2: return row.Repeats();
    default: return qs(row.DrawsText());
    }
}

QVariant RepeatsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4)
        return TrText(QString::fromUtf8(Columns[section]));
    return {};
}

void RepeatsModel::reload()
{
    beginResetModel();
    endResetModel();
}

TFormRepeats::TFormRepeats(const game::TDrawsArray& draws, shell::Shell& shell, const workspace::FormSettings& frm,
                           QWidget* parent)
    : QDialog(parent), m_draws(draws), m_shell(shell), m_frm(frm.WithSection(Section))
{
    setObjectName(QString::fromLatin1(Section));
    setWindowTitle(QStringLiteral("Количество повторов в зависимости от тиража"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_length = NewLengthEdit(QStringLiteral("DrawsLength"), std::max(1, m_frm.ReadInt("DrawsLength", 100)),
                             QStringLiteral("Количество тиражей, использующихся для расчета статистики"));
    m_depth = NewLengthEdit(QStringLiteral("DrawsDeep"), std::max(1, m_frm.ReadInt("DrawsDeep", 100)),
                            QStringLiteral("Количество тиражей, просматриваемых \"в глубину\" для поиска совпадений"));
    auto* run = new QPushButton(QStringLiteral("Рассчитать"));
    run->setAutoDefault(false);
    top->addWidget(new QLabel(QStringLiteral("Тиражей:")));
    top->addWidget(m_length);
    top->addWidget(new QLabel(QStringLiteral("Глубина:")));
    top->addWidget(m_depth);
    top->addWidget(run);
    top->addStretch();
    layout->addLayout(top);

    m_model = new RepeatsModel(m_repeats, this);
    m_list = NewRowList(QString::fromLatin1(ListName), m_model);
    m_list->horizontalHeader()->setStretchLastSection(true);
    AppendToContextMenu(m_list, NewListExport(m_list, m_shell, m_frm.Path().parent_path(), workspace::ExportList::Repeats,
                                              QStringLiteral("Повторы")));
    const QFontMetrics fm = m_list->fontMetrics();
    for (int c = 0; c < 3; ++c) {
        const int w = m_frm.ReadInt(util::Format("%s.Column%d", {ListName, c}), -1);
        m_list->setColumnWidth(c, w > 0 && w < 2000 ? w : fm.horizontalAdvance(QString::fromUtf8(Columns[c])) + 24);
    }
    m_chart = new AnalysisChart;
    m_splitter = new QSplitter(Qt::Vertical);
    m_splitter->addWidget(m_list);
    m_splitter->addWidget(m_chart);
    layout->addWidget(m_splitter, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    int rect[4];
    if (m_frm.ReadRect("NormPos", rect) && rect[2] > rect[0] && rect[3] > rect[1])
        setGeometry(rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
    else
        resize(900, 640);
    const int graph = m_frm.ReadInt("GraphHeight", -1);
    m_splitter->setSizes({std::max(100, height() - (graph > 0 ? graph : 320)), graph > 0 ? graph : 320});

    connect(run, &QPushButton::clicked, this, &TFormRepeats::compute);
    for (QSpinBox* edit : {m_length, m_depth}) OnEnter(edit, [this] { compute(); });
    // Computed once the window is up, so the progress window stands over it.
    QTimer::singleShot(0, this, &TFormRepeats::compute);
}

void TFormRepeats::compute()
{
    if (m_shell.IsBusy()) return;
    try {
        m_repeats = analysis::AnalyzeRepeats(m_draws, {m_length->value(), m_depth->value()}, m_shell);
        m_model->reload();
        drawChart();
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка расчета статистики!", e.what());
    }
}

void TFormRepeats::drawChart()
{
    shell::BusyScope busy(m_shell);
    const int rows = static_cast<int>(m_repeats.Rows.size());
    m_shell.ProgressOpen(rows, false, "Создание графиков...");
    m_chart->clear();
    m_chart->setUpValueAxes();
    const auto series = analysis::RepeatSeries(m_repeats);
    int done = 0;
    LineColors colors;
    for (std::size_t m = 0; m < series.size(); ++m) {
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(series[m].size()));
        for (const analysis::TGraphPoint& p : series[m]) points.append(QPointF(p.DrawNo, p.Value));
        QLineSeries* line = m_chart->addLine(qs(util::Format("Совпадений: %d", {static_cast<int>(m + 1)})), colors.next(), points, 1);
        line->setPointsVisible(true);
        line->setMarkerSize(4);
        m_chart->trackHover(line, AnalysisChart::drawPointText);
        done += static_cast<int>(points.size());
        m_shell.ProgressSetPosition(done);
    }
    m_chart->fitValueAxes();
    m_shell.ProgressClose();
}

void TFormRepeats::saveSettings()
{
    const QRect g = geometry();
    std::vector<std::pair<std::string, std::string>> values = {
        {"DrawsLength", std::to_string(m_length->value())},
        {"DrawsDeep", std::to_string(m_depth->value())},
        {"NormPos", util::Format("%d,%d,%d,%d", {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()})},
        {"GraphHeight", std::to_string(m_splitter->sizes().value(1))},
    };
    for (int c = 0; c < 4; ++c) values.emplace_back(util::Format("%s.Column%d", {ListName, c}), std::to_string(m_list->columnWidth(c)));
    try {
        m_frm.WriteAll(values);
    } catch (const std::exception& e) {
        m_shell.ShowFailure("Ошибка сохранения параметров программы!", e.what());
    }
}

void TFormRepeats::done(int result)
{
    // A run keeps its window until it ends.
    if (m_shell.IsBusy()) return;
    saveSettings();
    QDialog::done(result);
}
