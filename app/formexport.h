#pragma once
#include <QDialog>

#include "core/util/xlsxfile.h"

class QComboBox;
class QLineEdit;
class QSpinBox;

// "Параметры экспорта": the title, note, sheet name, page orientation and font size of one
// list's export. The list's own title shows where the fields are left empty.
class TFormExportOptions : public QDialog {
    Q_OBJECT
public:
    TFormExportOptions(const kv::util::TExportOptions& options, const QString& listTitle, QWidget* parent = nullptr);
    // The options with the fields of the window (folder and opening as they came in).
    kv::util::TExportOptions options() const;

private:
    kv::util::TExportOptions m_options;
    QLineEdit* m_title;
    QLineEdit* m_note;
    QLineEdit* m_sheet;
    QComboBox* m_orientation;
    QSpinBox* m_fontSize;
};
