#include "app/formsurvival.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/testcharts.h"
#include "core/shell/shell.h"
#include "core/util/cp1251.h"
#include "core/util/files.h"
#include "core/util/format.h"

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

} // namespace

TFormSurvival::TFormSurvival(std::vector<kv::scenario::TSurvivalRow> rows, kv::shell::Shell& shell, QWidget* parent)
    : QDialog(parent), m_rows(std::move(rows)), m_shell(shell)
{
    setObjectName(QStringLiteral("TFormSurvival"));
    setWindowTitle(QStringLiteral("Эффективность фильтров"));
    resize(1100, 520);
    auto* layout = new QVBoxLayout(this);
    const int columns = kv::scenario::SurvivalColumnCount(m_rows);
    m_table = new QTableWidget(int(m_rows.size()), columns, this);
    QStringList captions;
    for (int c = 0; c < columns; ++c)
        captions << QString::fromUtf8(kv::scenario::SurvivalColumnCaption(c));
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
        m_table->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(row.PartText)));
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
    // The picture numbers the filters as the table first lists them.
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(m_table, QStringLiteral("Таблица"));
    m_tabs->addTab(NewSurvivalChart(m_rows), QStringLiteral("График"));
    layout->addWidget(m_tabs, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    QPushButton* csv = buttons->addButton(QStringLiteral("Экспорт в CSV-файл"), QDialogButtonBox::ActionRole);
    csv->setObjectName(QStringLiteral("ExportCsv"));
    connect(csv, &QPushButton::clicked, this, &TFormSurvival::exportClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool TFormSurvival::exportCsv(const QString& file)
{
    try {
        kv::util::RewriteFile(file.toStdString(), kv::util::Utf8ToCp1251(kv::scenario::SurvivalCsvText(m_rows)));
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
