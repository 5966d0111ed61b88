#pragma once
#include <QDialog>

#include "core/stats/config.h"

class QLineEdit;
class QSpinBox;

// "Методы шинковки": the three formulas and their digit counts.
class TFormShredding : public QDialog {
    Q_OBJECT
public:
    explicit TFormShredding(const kv::stats::TShreddingData& data, QWidget* parent = nullptr);
    kv::stats::TShreddingData data() const;
    QLineEdit* formulaEdit(int i) const { return m_formula[i]; }
    QSpinBox* digitsEdit(int i) const { return m_digits[i]; }

private:
    QLineEdit* m_formula[3];
    QSpinBox* m_digits[3];
};
