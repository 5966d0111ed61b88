#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// The wait window of the draw download: the text of the current step (attempt and proxy) and
// "Отмена". It blocks the main window without a modal loop of its own, so the download keeps
// running on the caller's stack while it is up.
class TFormWait : public QDialog {
    Q_OBJECT
public:
    explicit TFormWait(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    QPushButton* cancelButton() const { return m_cancel; }
    bool cancelled() const { return m_cancelled; }

    // Escape, the window's close button and "Отмена" all cancel; the window stays up, saying so
    // through its disabled button, until the transfer has stopped.
    void reject() override;

signals:
    void cancelRequested();

private:
    QLabel* m_text;
    QPushButton* m_cancel;
    bool m_cancelled = false;
};
