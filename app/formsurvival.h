#pragma once
#include <QDialog>
#include <filesystem>
#include <vector>

#include "core/scenario/survival.h"

class QTabWidget;
class QTableWidget;

namespace kv::shell {
class Shell;
}

// "Эффективность фильтров": the filter survival of a scenario test, one row per filter part,
// sortable by any column and exportable as CSV, with the hold-out columns after a test that kept
// draws apart, and its picture.
class TFormSurvival : public QDialog {
    Q_OBJECT
public:
    // `dataDir` holds the spreadsheet export's options.
    TFormSurvival(std::vector<kv::scenario::TSurvivalRow> rows, kv::shell::Shell& shell,
                  const std::filesystem::path& dataDir, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    // "Таблица" and "График" (survival with its interval against the kept share).
    QTabWidget* tabs() const { return m_tabs; }
    // Writes the CSV file (CP1251 like the program's other exports); a failure is shown.
    bool exportCsv(const QString& file);

private:
    void exportClicked();

    std::vector<kv::scenario::TSurvivalRow> m_rows;
    kv::shell::Shell& m_shell;
    QTableWidget* m_table;
    QTabWidget* m_tabs;
};
