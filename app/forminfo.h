#pragma once
#include <QDialog>
#include <optional>
#include <string>

#include "core/game/types.h"

class QSpinBox;
class QTableWidget;
namespace kv::stats {
class TStatList;
}
namespace kv::shell {
class Shell;
}

// "Подробная информация": the numbers on a card of a chosen width and the value of every charted
// statistic for them.
class TFormInfo : public QDialog {
    Q_OBJECT
public:
    TFormInfo(const kv::stats::TStatList& list, const kv::game::TComb& numbers, int position, bool sorted,
              std::optional<int> drawNo, std::optional<std::string> dateText, kv::shell::Shell& shell,
              QWidget* parent = nullptr);

    QTableWidget* card() const { return m_card; }
    QTableWidget* properties() const { return m_properties; }
    QSpinBox* columnsEdit() const { return m_columns; }

private:
    void buildCard();
    kv::game::TComb m_numbers;
    int m_channelSize;
    QSpinBox* m_columns;
    QTableWidget* m_card;
    QTableWidget* m_properties;
};
