#include "app/forminfo.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/qtshell.h"
#include "core/game/game.h"
#include "core/shell/shell.h"
#include "core/stats/drawinfo.h"
#include "core/stats/statlist.h"

using namespace kv;

TFormInfo::TFormInfo(const stats::TStatList& list, const game::TComb& numbers, int position, bool sorted,
                     std::optional<int> drawNo, std::optional<std::string> dateText, shell::Shell& shell, QWidget* parent)
    : QDialog(parent), m_numbers(numbers), m_channelSize(list.Config().ChannelSize)
{
    setWindowTitle(QStringLiteral("Подробная информация"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* columnsRow = new QHBoxLayout;
    columnsRow->addWidget(new QLabel(QStringLiteral("Количество столбцов:")));
    m_columns = new QSpinBox;
    m_columns->setRange(1, 20);
    m_columns->setValue(std::clamp(list.Config().MatrixCols, 1, 20));
    columnsRow->addWidget(m_columns);
    left->addLayout(columnsRow);
    m_card = new QTableWidget;
    m_card->horizontalHeader()->hide();
    m_card->verticalHeader()->hide();
    m_card->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_card->setSelectionMode(QAbstractItemView::NoSelection);
    left->addWidget(m_card, 1);
    layout->addLayout(left);

    m_properties = new QTableWidget(0, 2);
    m_properties->setHorizontalHeaderLabels({QStringLiteral("Свойство"), QStringLiteral("Значение")});
    m_properties->verticalHeader()->hide();
    m_properties->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_properties->horizontalHeader()->setStretchLastSection(true);
    {
        shell::BusyScope busy(shell);
        const auto rows = stats::DrawInfoRows(list, numbers, position, sorted, drawNo, dateText);
        m_properties->setRowCount(static_cast<int>(rows.size()));
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            m_properties->setItem(i, 0, new QTableWidgetItem(qs(rows[i].first)));
            m_properties->setItem(i, 1, new QTableWidgetItem(qs(rows[i].second)));
        }
    }
    m_properties->resizeColumnToContents(0);
    m_properties->verticalHeader()->setDefaultSectionSize(m_properties->fontMetrics().height() + 4);
    layout->addWidget(m_properties, 1);

    connect(m_columns, qOverload<int>(&QSpinBox::valueChanged), this, &TFormInfo::buildCard);
    buildCard();
    resize(900, 560);
}

void TFormInfo::buildCard()
{
    const int cols = m_columns->value();
    const int rows = game::GroupCount(1, 20, cols);
    m_card->clear();
    m_card->setColumnCount(cols);
    m_card->setRowCount(rows);
    const int side = m_card->fontMetrics().height() + 10;
    for (int c = 0; c < cols; ++c) m_card->setColumnWidth(c, side + 6);
    for (int r = 0; r < rows; ++r) {
        m_card->setRowHeight(r, side);
        for (int c = 0; c < cols; ++c) {
            const int n = game::GridValue(1, r, cols, c);
            if (n < 1 || n > 20) continue;
            auto* item = new QTableWidgetItem;
            item->setBackground(QColor(QRgb(game::ChannelColor(n, m_channelSize))));
            item->setTextAlignment(Qt::AlignCenter);
            if (game::InComb(n, m_numbers)) {
                item->setText(QString::number(n));
                QFont f = item->font();
                f.setBold(true);
                item->setFont(f);
            }
            m_card->setItem(r, c, item);
        }
    }
}
