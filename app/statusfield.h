#pragma once
#include <QLabel>

// A field of the status bar. A counting field takes the width of the widest text it has shown,
// so that a number is never cut and the bar does not jump as counts change; an eliding field
// (the long messages) gives way to the others, ends its text with "…" and shows the whole
// text as its tooltip.
class StatusField : public QLabel {
    Q_OBJECT
public:
    explicit StatusField(bool elide, int minimumWidth, QWidget* parent = nullptr);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int textWidth() const;
    bool m_elide;
    int m_minimum;
    mutable int m_widest = 0;
};
