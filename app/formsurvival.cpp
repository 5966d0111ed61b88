#include "app/formsurvival.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/language.h"
#include "app/testcharts.h"
#include "app/xlsexport.h"
#include "core/shell/shell.h"
#include "core/util/files.h"
#include "core/util/format.h"
#include "core/workspace/listexport.h"

namespace {

// Numbers sort as numbers; an empty cell (no lift) sorts first.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text) { setData(Qt::UserRole, value); }
    bool operator<(const QTableWidgetItem& other) const override
    {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

double cellNumber(const kv::scenario::TSurvivalRow& row, int column)
{
    switch (column) {
    case 1: return row.Tests;
    case 2: return row.Survived;
    case 3: return row.Rate;
    case 4: return row.KeptShare;
    case 5: return row.KeptShare > 0 ? row.Lift : -1;
    case 6: return row.Low;
    case 7: return row.High;
    case 8: return row.HoldTests;
    case 9: return row.HoldSurvived;
    case 10: return row.HoldTests > 0 ? row.HoldRate : -1;
    case 11: return row.HoldTests > 0 ? row.HoldKeptShare : -1;
    case 12: return row.HoldTests > 0 && row.HoldKeptShare > 0 ? row.HoldLift : -1;
    case 13: return row.HoldTests > 0 ? row.HoldLow : -1;
    default: return row.HoldTests > 0 ? row.HoldHigh : -1;
    }
}

// A long caption in two lines, broken at the blank nearest its middle, so that the columns stay
// as narrow as their numbers.
QString twoLines(QString caption)
{
    if (caption.size() <= 16) return caption;
    qsizetype best = -1;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption[i] == QLatin1Char(' ') && (best < 0 || std::abs(i - caption.size() / 2) <= std::abs(best - caption.size() / 2)))
            best = i;
    if (best > 0) caption[best] = QLatin1Char('\n');
    return caption;
}

} // namespace

TFormSurvival::TFormSurvival(std::vector<kv::scenario::TSurvivalRow> rows, kv::shell::Shell& shell,
                             const std::filesystem::path& dataDir, QWidget* parent)
    : QDialog(parent), m_rows(std::move(rows)), m_shell(shell)
{
    setObjectName(QStringLiteral("TFormSurvival"));
    setWindowTitle(QStringLiteral("Эффективность фильтров"));
    auto* layout = new QVBoxLayout(this);
    const int columns = kv::scenario::SurvivalColumnCount(m_rows);
    m_table = new QTableWidget(int(m_rows.size()), columns, this);
    QStringList captions;
    for (int c = 0; c < columns; ++c)
        captions << twoLines(TrText(QString::fromUtf8(kv::scenario::SurvivalColumnCaption(c))));
    m_table->setHorizontalHeaderLabels(captions);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    // Lift above 1: the filter keeps the drawn ticket more often than a random cut would.
    m_table->horizontalHeaderItem(5)->setToolTip(
        QStringLiteral("Выживаемость / доля оставленных: больше 1 - фильтр лучше случайного отсева"));
    const QString point = QLocale().decimalPoint();
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const kv::scenario::TSurvivalRow& row = m_rows[std::size_t(r)];
        auto* name = new QTableWidgetItem(QString::fromStdString(row.PartText));
        if (row.Tests == 0 && row.HoldTests == 0)
            name->setToolTip(QStringLiteral("Фильтр не применялся: после предыдущих фильтров шага в списке "
                                            "оставалось не больше одной комбинации"));
        m_table->setItem(r, 0, name);
        for (int c = 1; c < columns; ++c) {
            QString text = QString::fromStdString(kv::scenario::SurvivalCellText(row, c));
            text.replace(QLatin1Char('.'), point);
            auto* item = new NumberItem(text, cellNumber(row, c));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c, item);
        }
    }
    m_table->setSortingEnabled(true);
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    // The picture numbers the filters as the table first lists them.
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(m_table, QStringLiteral("Таблица"));
    m_tabs->addTab(NewSurvivalChart(m_rows), QStringLiteral("График"));
    layout->addWidget(m_tabs, 1);
    // Wide enough for every column, as far as the screen allows.
    int width = m_table->verticalScrollBar()->sizeHint().width() + 2 * m_table->frameWidth();
    for (int c = 0; c < columns; ++c) width += m_table->columnWidth(c);
    const int available = screen() ? screen()->availableGeometry().width() - 40 : width;
    resize(std::min(width + 2 * layout->contentsMargins().left() + 4, available), 520);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    QPushButton* csv = buttons->addButton(QStringLiteral("Экспорт в CSV-файл"), QDialogButtonBox::ActionRole);
    csv->setObjectName(QStringLiteral("ExportCsv"));
    connect(csv, &QPushButton::clicked, this, &TFormSurvival::exportClicked);
    QAction* xlsx = NewListExport(m_table, m_shell, dataDir, kv::workspace::ExportList::Survival,
                                  QStringLiteral("Эффективность фильтров"));
    AppendToContextMenu(m_table, xlsx);
    QPushButton* excel = buttons->addButton(xlsx->text(), QDialogButtonBox::ActionRole);
    excel->setObjectName(QStringLiteral("ExportXlsx"));
    connect(excel, &QPushButton::clicked, xlsx, &QAction::trigger);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool TFormSurvival::exportCsv(const QString& file)
{
    try {
        kv::util::RewriteFile(file.toStdString(), kv::scenario::SurvivalCsvText(m_rows));
        return true;
    } catch (const std::exception& e) {
        m_shell.ShowError(kv::util::Format("Ошибка записи в файл \"%s\"!\n\n%s", {file.toStdString(), e.what()}));
        return false;
    }
}

void TFormSurvival::exportClicked()
{
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Экспорт в CSV-файл"), QString(),
                                                      QStringLiteral("CSV-файлы (*.csv)"));
    if (!file.isEmpty()) exportCsv(file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? file : file + ".csv");
}
