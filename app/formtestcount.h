#pragma once
#include <QDialog>

class QSpinBox;

// "Количество тестов": how many of the latest draws a scenario or regulars test runs over.
class TFormTestCount : public QDialog {
    Q_OBJECT
public:
    // 1 .. maximum, starting at `initial` (kept inside the range).
    TFormTestCount(int initial, int maximum, QWidget* parent = nullptr);

    int count() const;
    QSpinBox* countEdit() const { return m_count; }

    // Runs the dialog; the chosen count, or 0 when cancelled.
    static int AskTestCount(int initial, int maximum, QWidget* parent = nullptr);

private:
    QSpinBox* m_count;
};
