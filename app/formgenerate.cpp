#include "app/formgenerate.h"
#include "app/dialogutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/qtshell.h"
#include "core/util/format.h"

using namespace kv;

TFormGenerate::TFormGenerate(const filters::TGenerateSettings& settings, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Создание нового списка комбинаций"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Режим генерации списка комбинаций:")));
    m_mode = new QComboBox;
    for (const char* caption : filters::GenerateModeCaptions) m_mode->addItem(QString::fromUtf8(caption));
    m_mode->setCurrentIndex(settings.Mode < filters::GenerateModeCount ? settings.Mode : 0);
    layout->addWidget(m_mode);
    layout->addWidget(new QLabel(QStringLiteral("Мои числа или имя файла для загрузки:")));
    auto* row = new QHBoxLayout;
    m_parameters = new QLineEdit(qs(settings.Parameters));
    m_parameters->setMaxLength(255);
    m_file = new QToolButton;
    m_file->setText(QStringLiteral("..."));
    row->addWidget(m_parameters, 1);
    row->addWidget(m_file);
    layout->addLayout(row);
    m_hint = new QLabel;
    m_hint->setObjectName(QStringLiteral("GenerateHint"));
    m_hint->setEnabled(false);
    m_hint->setWordWrap(true);
    layout->addWidget(m_hint);
    m_error = new QLabel;
    m_error->setObjectName(QStringLiteral("GenerateError"));
    m_error->setStyleSheet(QStringLiteral("color: #b00000"));
    m_error->setWordWrap(true);
    m_error->hide();
    layout->addWidget(m_error);
    m_save = new QCheckBox(QStringLiteral("Сохранить эти параметры для генерации комбинаций \"по умолчанию\""));
    m_save->setChecked(false);
    layout->addWidget(m_save);
    AddDialogButtons(this, layout);

    connect(m_mode, qOverload<int>(&QComboBox::currentIndexChanged), this, &TFormGenerate::updateEnabled);
    connect(m_file, &QToolButton::clicked, this, [this] {
        QFileDialog dialog(this, QString(), m_parameters->text(), QStringLiteral("Файлы комбинаций (*.lcv)"));
        dialog.setDefaultSuffix(QStringLiteral("lcv"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            m_parameters->setText(dialog.selectedFiles().first());
    });
    updateEnabled();
    resize(520, sizeHint().height());
}

void TFormGenerate::updateEnabled()
{
    m_parameters->setEnabled(m_mode->currentIndex() != filters::GenerateAll);
    m_file->setEnabled(m_mode->currentIndex() == filters::GenerateFromFile);
    // The mode's caption says CSV; what it reads is a combination file, as the picker says.
    const int mode = m_mode->currentIndex();
    m_error->hide();
    m_hint->setText(mode == filters::GenerateAll ? QString()
                    : mode == filters::GenerateFromFile
                        ? QStringLiteral("Файл комбинаций (*.lcv): по одной комбинации в строке, например 1;5;8;11;13;16;18;20")
                        : QStringLiteral("Числа от 1 до 20 через точку с запятой или запятую, например 3;7;12"));
}

filters::TGenerateSettings TFormGenerate::settings() const
{
    return {static_cast<uint8_t>(m_mode->currentIndex()), us(m_parameters->text())};
}

bool TFormGenerate::saveAsDefault() const
{
    return m_save->isChecked();
}

void TFormGenerate::accept()
{
    const int mode = m_mode->currentIndex();
    const std::string numbers = us(m_parameters->text());
    if (mode >= filters::GenerateWithAny && mode <= filters::GenerateWithout && !filters::NamesFieldNumbers(numbers)) {
        m_error->setText(qs(util::Format(filters::UnreadNumbersText, {numbers})));
        m_error->show();
        m_parameters->setFocus();
        return;
    }
    QDialog::accept();
}
