#include "app/formconfig.h"
#include "app/dialogutil.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/qtshell.h"
#include "core/game/counting.h"
#include "core/stats/configops.h"
#include "core/util/currency.h"

using namespace kv;

namespace {

// An editor that takes only the characters matching `pattern`, so most bad input never gets in.
class TPatternDelegate : public QStyledItemDelegate {
public:
    TPatternDelegate(const QString& pattern, QObject* parent) : QStyledItemDelegate(parent), m_pattern(pattern) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* edit = new QLineEdit(parent);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(m_pattern), edit));
        return edit;
    }

private:
    QString m_pattern;
};

QString decimalPoint()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QStringLiteral(".") : point;
}

QString amountText(util::Currency amount)
{
    return qs(util::CurrencyToText(amount, 2, '.')).replace(QLatin1Char('.'), decimalPoint());
}

util::Currency amountValue(const QString& text)
{
    bool ok = false;
    const double v = QLocale().toDouble(text.trimmed(), &ok);
    return ok ? util::Currency::FromDouble(v) : util::Currency{};
}

QDoubleSpinBox* decimalEdit(int decimals, double min, double max, double value, const char* hint)
{
    auto* edit = new QDoubleSpinBox;
    edit->setDecimals(decimals);
    edit->setRange(min, max);
    edit->setValue(value);
    edit->setToolTip(QString::fromUtf8(hint));
    return edit;
}

} // namespace

TFormConfig::TFormConfig(const stats::TConfigData& data, QWidget* parent) : QDialog(parent), m_data(data)
{
    setWindowTitle(QStringLiteral("Параметры системы"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);

    // --- money -----------------------------------------------------------------------------
    auto* money = new QVBoxLayout;
    columns->addLayout(money);
    auto* stakeGrid = new QGridLayout;
    m_cost = decimalEdit(2, 0, 1e9, data.Cost.ToDouble(), "Стоимость одной ставки");
    stakeGrid->addWidget(new QLabel(QStringLiteral("Стоимость ставки:")), 0, 0);
    stakeGrid->addWidget(m_cost, 0, 1);
    // This game has a single stake size: the field stays hidden and its value passes through.
    auto* maxStakeLabel = new QLabel(QStringLiteral("Расширенная ставка:"));
    m_maxStake = new QSpinBox;
    m_maxStake->setRange(std::min(0, data.MaxStake), std::max(20, data.MaxStake));
    m_maxStake->setValue(data.MaxStake);
    m_maxStake->setToolTip(QStringLiteral("Максимально допустимая расширенная ставка"));
    stakeGrid->addWidget(maxStakeLabel, 1, 0);
    stakeGrid->addWidget(m_maxStake, 1, 1);
    maxStakeLabel->hide();
    m_maxStake->hide();
    money->addLayout(stakeGrid);

    money->addWidget(new QLabel(QStringLiteral("Размеры выигрышей:")));
    m_profits = new QTableWidget(stats::ProfitRowCount, 2);
    m_profits->setHorizontalHeaderLabels({QStringLiteral("Совпадений"), QStringLiteral("Сумма выигрыша")});
    m_profits->verticalHeader()->hide();
    m_profits->horizontalHeader()->setStretchLastSection(true);
    m_profits->setItemDelegateForColumn(
        1, new TPatternDelegate(QStringLiteral("[0-9%1]*").arg(QRegularExpression::escape(decimalPoint())), this));
    const auto rows = stats::ProfitRows(data.Profits);
    for (int i = 0; i < stats::ProfitRowCount; ++i) {
        auto* name = new QTableWidgetItem(QString::number(i));
        name->setFlags(Qt::ItemIsEnabled);
        m_profits->setItem(i, 0, name);
        m_profits->setItem(i, 1, new QTableWidgetItem(amountText(rows[i])));
    }
    money->addWidget(m_profits);

    // --- weights ---------------------------------------------------------------------------
    auto* weights = new QGroupBox(QStringLiteral("Коэффициенты для поля \"Вес\""));
    auto* weightGrid = new QGridLayout(weights);
    const char* coefNames[3] = {"Количество:", "Отклонение:", "Глубина:"};
    const long double coefs[3] = {data.Weights.CoefCount, data.Weights.CoefDeviation, data.Weights.CoefDepth};
    for (int i = 0; i < 3; ++i) {
        m_coef[i] = decimalEdit(3, -1e6, 1e6, static_cast<double>(coefs[i]), "");
        weightGrid->addWidget(new QLabel(QString::fromUtf8(coefNames[i])), i, 0);
        weightGrid->addWidget(m_coef[i], i, 1);
    }
    m_percents = new QCheckBox(QStringLiteral("Использовать значения в %"));
    m_percents->setToolTip(QStringLiteral("При расчетах использовать значения в процентах"));
    m_percents->setChecked(data.Weights.UsePercents);
    m_absolute = new QCheckBox(QStringLiteral("Использовать абсолютные значения"));
    m_absolute->setToolTip(QStringLiteral("Преобразовывать отрицательные значения в положительные"));
    m_absolute->setChecked(data.Weights.UseAbsolute);
    weightGrid->addWidget(m_percents, 3, 0, 1, 2);
    weightGrid->addWidget(m_absolute, 4, 0, 1, 2);
    money->addWidget(weights);

    // --- the card --------------------------------------------------------------------------
    auto* card = new QVBoxLayout;
    columns->addLayout(card);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral("Размер матрицы:")));
    m_cols = new QSpinBox;
    m_cols->setRange(1, game::MaxNumber);
    m_cols->setToolTip(QStringLiteral("Количество столбцов"));
    sizeRow->addWidget(m_cols);
    sizeRow->addWidget(new QLabel(QStringLiteral("x")));
    m_rows = new QSpinBox;
    m_rows->setRange(1, game::MaxNumber);
    m_rows->setReadOnly(true);
    m_rows->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_rows->setToolTip(QStringLiteral("Количество строк"));
    sizeRow->addWidget(m_rows);
    sizeRow->addStretch();
    card->addLayout(sizeRow);

    card->addWidget(new QLabel(QStringLiteral("Сегменты матрицы:")));
    m_grid = new QTableWidget;
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setDefaultSectionSize(28);
    m_grid->setItemDelegate(new TPatternDelegate(QStringLiteral("[0-9]*"), this));
    card->addWidget(m_grid, 1);

    auto* channelRow = new QHBoxLayout;
    channelRow->addWidget(new QLabel(QStringLiteral("Размер канала:")));
    m_channel = new QSpinBox;
    m_channel->setRange(2, game::MaxNumber);
    m_channel->setValue(data.ChannelSize);
    m_channel->setToolTip(QStringLiteral("Ширина канала"));
    channelRow->addWidget(m_channel);
    channelRow->addStretch();
    card->addLayout(channelRow);

    m_cols->setValue(std::clamp(data.MatrixCols, 1, game::MaxNumber));
    layoutGrid(m_cols->value());
    writeSegments(data.MatrixSegments);
    connect(m_cols, &QSpinBox::valueChanged, this, &TFormConfig::columnsChanged);
    connect(m_grid, &QTableWidget::itemChanged, this, &TFormConfig::segmentEdited);

    AddDialogButtons(this, layout);
}

void TFormConfig::layoutGrid(int cols)
{
    m_filling = true;
    const int rows = game::GroupCount(1, game::MaxNumber, cols);
    m_grid->clear();
    m_grid->setColumnCount(cols);
    m_grid->setRowCount(rows);
    m_rows->setValue(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            // Cells past the last number belong to no number and cannot be chosen.
            const int number = 1 + c + r * cols;
            item->setFlags(number <= game::MaxNumber ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                                     : Qt::NoItemFlags);
            m_grid->setItem(r, c, item);
        }
    m_gridCols = cols;
    m_filling = false;
}

game::TNumMap TFormConfig::readSegments() const
{
    game::TNumMap segments;
    for (int n = 0; n < game::MaxNumber; ++n) {
        const QTableWidgetItem* item = m_grid->item(n / m_gridCols, n % m_gridCols);
        bool ok = false;
        const int v = item ? item->text().toInt(&ok) : 0;
        segments[n] = ok && v >= 0 && v <= 255 ? static_cast<uint8_t>(v) : 1;
    }
    return segments;
}

void TFormConfig::writeSegments(const game::TNumMap& segments)
{
    m_filling = true;
    for (int n = 0; n < game::MaxNumber; ++n)
        m_grid->item(n / m_gridCols, n % m_gridCols)->setText(QString::number(segments[n]));
    m_filling = false;
}

void TFormConfig::columnsChanged(int cols)
{
    // Every number keeps its segment whatever cell it moves to.
    const game::TNumMap segments = readSegments();
    layoutGrid(cols);
    writeSegments(segments);
}

void TFormConfig::segmentEdited(QTableWidgetItem* item)
{
    if (m_filling) return;
    const QString text = item->text();
    if (text.isEmpty() || stats::ParseSegmentCell(us(text))) return;
    QMessageBox box(QMessageBox::Critical, qs(shell::MessageCaption(shell::MessageKind::Error)),
                    qs(stats::BadSegmentMessage(us(text))), QMessageBox::Ok, this);
    box.exec();
    m_filling = true;
    item->setText(QStringLiteral("1"));
    m_filling = false;
}

stats::TConfigData TFormConfig::data() const
{
    stats::TConfigData d = m_data;
    d.MatrixCols = m_cols->value();
    d.ChannelSize = m_channel->value();
    d.MaxStake = m_maxStake->value();
    d.Cost = util::Currency::FromDouble(m_cost->value());
    d.Weights.CoefCount = m_coef[0]->value();
    d.Weights.CoefDeviation = m_coef[1]->value();
    d.Weights.CoefDepth = m_coef[2]->value();
    d.Weights.UsePercents = m_percents->isChecked();
    d.Weights.UseAbsolute = m_absolute->isChecked();
    std::array<util::Currency, stats::ProfitRowCount> amounts{};
    for (int i = 0; i < stats::ProfitRowCount; ++i) amounts[i] = amountValue(m_profits->item(i, 1)->text());
    d.Profits = stats::ProfitsFromRows(amounts);
    d.MatrixSegments = readSegments();
    return d;
}

void TFormConfig::showPrizeTable()
{
    m_profits->setFocus(Qt::OtherFocusReason);
    if (m_profits->rowCount() > 0) m_profits->setCurrentCell(0, m_profits->columnCount() - 1);
}
