#pragma once
#include <QDialog>

class QSpinBox;

// "Количество тестов": how many of the last draws a test runs over.
class TFormTestCount : public QDialog {
    Q_OBJECT
public:
    TFormTestCount(int maximum, int initial, QWidget* parent = nullptr);

    int count() const;
    QSpinBox* countEdit() const { return m_count; }

private:
    QSpinBox* m_count;
};
