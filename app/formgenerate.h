#pragma once
#include <QDialog>

#include "core/filters/generate.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

// "Создание нового списка комбинаций": mode, my numbers or file, and whether to keep them as the
// defaults.
class TFormGenerate : public QDialog {
    Q_OBJECT
public:
    TFormGenerate(const kv::filters::TGenerateSettings& settings, QWidget* parent = nullptr);

    kv::filters::TGenerateSettings settings() const;
    bool saveAsDefault() const;
    QComboBox* modeBox() const { return m_mode; }
    QLineEdit* parametersEdit() const { return m_parameters; }
    QToolButton* fileButton() const { return m_file; }
    QLabel* hintLabel() const { return m_hint; }
    QLabel* errorLabel() const { return m_error; }

    // My numbers that name no number of the field keep the dialog open with the accepted forms.
    void accept() override;

private:
    void updateEnabled();
    QComboBox* m_mode;
    QLineEdit* m_parameters;
    QToolButton* m_file;
    QLabel* m_hint;
    QLabel* m_error;
    QCheckBox* m_save;
};
