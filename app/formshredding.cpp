#include "app/formshredding.h"
#include "app/dialogutil.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/qtshell.h"
#include "app/language.h"

using namespace kv;

TFormShredding::TFormShredding(const stats::TShreddingData& data, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Методы шинковки"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const std::string* formulas[3] = {&data.Formula1, &data.Formula2, &data.Formula3};
    const uint8_t digits[3] = {data.Formula1Digits, data.Formula2Digits, data.Formula3Digits};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(TrText(QStringLiteral("Формула %1:")).arg(i + 1)), i, 0);
        m_formula[i] = new QLineEdit(qs(*formulas[i]));
        m_formula[i]->setToolTip(QStringLiteral("Используемая формула"));
        grid->addWidget(m_formula[i], i, 1);
        m_digits[i] = new QSpinBox;
        m_digits[i]->setRange(1, 5);
        m_digits[i]->setValue(std::clamp<int>(digits[i], 1, 5));
        m_digits[i]->setToolTip(QStringLiteral("Количество используемых знаков после запятой"));
        grid->addWidget(m_digits[i], i, 2);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("Используемые переменные:\nn1, n2, n3, ..., nX - числа текущего тиража\n"
                                                "p1, p2, p3, ..., pX - числа предыдущего тиража")));
    AddDialogButtons(this, layout);
    resize(560, sizeHint().height());
}

stats::TShreddingData TFormShredding::data() const
{
    stats::TShreddingData d;
    d.Formula1 = us(m_formula[0]->text());
    d.Formula2 = us(m_formula[1]->text());
    d.Formula3 = us(m_formula[2]->text());
    d.Formula1Digits = static_cast<uint8_t>(m_digits[0]->value());
    d.Formula2Digits = static_cast<uint8_t>(m_digits[1]->value());
    d.Formula3Digits = static_cast<uint8_t>(m_digits[2]->value());
    return d;
}
