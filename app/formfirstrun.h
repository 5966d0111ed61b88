#pragma once
#include <QDialog>
#include <functional>

class QCheckBox;
class QPushButton;

// "Справочная информация": shown at start-up while FirstRun is on; offers the help and the
// check box "Больше не показывать данный диалог".
class TFormFirstRun : public QDialog {
    Q_OBJECT
public:
    // `openHelp` is empty when there is no help: its button is then disabled.
    TFormFirstRun(std::function<void()> openHelp, QWidget* parent = nullptr);
    bool dontShowAgain() const;
    QPushButton* helpButton() const { return m_help; }
    QCheckBox* dontShowBox() const { return m_dontShow; }

private:
    QPushButton* m_help;
    QCheckBox* m_dontShow;
};
