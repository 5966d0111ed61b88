#pragma once
#include <QDialog>

#include "core/workspace/proxy.h"

class QLineEdit;
class QRadioButton;
class QSpinBox;

// "Параметры proxy-сервера": no proxy, the automatic search or a server of the user's; the four
// fields take input only while the manual choice is selected.
class TFormProxy : public QDialog {
    Q_OBJECT
public:
    explicit TFormProxy(const kv::workspace::TProxy& proxy, QWidget* parent = nullptr);

    uint8_t choice() const;
    kv::workspace::TProxyServer fields() const;

    QRadioButton* choiceButton(int mode) const { return m_choice[mode]; }
    QLineEdit* serverEdit() const { return m_server; }
    QSpinBox* portEdit() const { return m_port; }
    QLineEdit* userEdit() const { return m_user; }
    QLineEdit* passwordEdit() const { return m_password; }

private:
    void updateFields();

    QRadioButton* m_choice[3];
    QLineEdit* m_server;
    QSpinBox* m_port;
    QLineEdit* m_user;
    QLineEdit* m_password;
};
