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

    // Runs the dialog; the chosen count, or 0 when cancelled.
    static int AskTestCount(int initial, int maximum, QWidget* parent = nullptr, const QString& note = QString());

private:
    QSpinBox* m_count;
};
