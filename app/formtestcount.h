#pragma once
#include <QDialog>

class QSpinBox;

// "Количество тестов": how many of the latest draws a scenario or regulars test runs over.
class TFormTestCount : public QDialog {
    Q_OBJECT
public:
    // 1 .. maximum, starting at `initial` (kept inside the range).
    // `note`, when given, is shown under the field: what the test does to the player's things.
    TFormTestCount(int initial, int maximum, QWidget* parent = nullptr, const QString& note = QString());

    int count() const;
    QSpinBox* countEdit() const { return m_count; }

    // The scenario test's field "Контрольные тиражи": how many of the latest test draws are kept
    // apart from tuning (0 .. count - 1, 0 at first). Without this call there is no such field.
    void addHoldout();
    int holdout() const;
    QSpinBox* holdoutEdit() const { return m_holdout; }

    // Runs the dialog; the chosen count, or 0 when cancelled.
    static int AskTestCount(int initial, int maximum, QWidget* parent = nullptr, const QString& note = QString());

private:
    QSpinBox* m_count;
    QSpinBox* m_holdout = nullptr;
};
