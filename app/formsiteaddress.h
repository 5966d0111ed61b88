#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;

// "Адрес сайта лотереи": the operator's base address that downloads and "Сайт лотереи" use. It
// stays open until the address is one the download can use.
class TFormSiteAddress : public QDialog {
    Q_OBJECT
public:
    // `overridden`: the environment sets the address for this run, so what is saved applies
    // only once it is gone. `why`, when given, opens the dialog: what the address is needed for.
    TFormSiteAddress(const QString& address, bool overridden, QWidget* parent = nullptr, const QString& why = {});

    QString address() const;
    QLineEdit* addressEdit() const { return m_edit; }

    void accept() override;

private:
    QLineEdit* m_edit;
    QLabel* m_error;
};
