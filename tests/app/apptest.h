#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

// Answers the message boxes that the code under test opens: each is recorded and closed with
// the given button (OK for plain messages).
class MessageBoxAnswerer : public QObject {
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) : m_answer(answer)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }
    QStringList texts;
    QStringList captions;

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        texts << box->text();
        captions << box->windowTitle();
        QAbstractButton* button = box->button(m_answer);
        if (!button) button = box->button(QMessageBox::Ok);
        if (button) button->click();
        else box->done(0);
    }
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

// Runs `act` on the next modal dialog of type T as soon as it is up.
template <typename T, typename F>
void onNextDialog(F act)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}
