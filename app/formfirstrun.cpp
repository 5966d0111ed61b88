#include "app/formfirstrun.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormFirstRun::TFormFirstRun(std::function<void()> openHelp, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormFirstRun"));
    setWindowTitle(QStringLiteral("Справочная информация"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral(
        "Добро пожаловать в Kvanta 8x20!\n\n"
        "Загрузите архив тиражей (F3), выберите статистику и длину окна, отметьте строки таблицы и "
        "примените фильтр к списку комбинаций, затем поставьте оставшиеся комбинации ставками.\n\n"
        "Справка (F1) рассказывает о каждом окне и о каждой статистике."));
    text->setWordWrap(true);
    text->setMinimumWidth(420);
    layout->addWidget(text);
    m_dontShow = new QCheckBox(QStringLiteral("Больше не показывать данный диалог"));
    m_dontShow->setObjectName(QStringLiteral("DontShowAgain"));
    layout->addWidget(m_dontShow);
    auto* buttons = new QDialogButtonBox;
    m_help = buttons->addButton(QStringLiteral("Справка"), QDialogButtonBox::HelpRole);
    m_help->setObjectName(QStringLiteral("OpenHelp"));
    m_help->setEnabled(static_cast<bool>(openHelp));
    // The help window is not modal: this dialog closes first so that the help can be read.
    connect(m_help, &QPushButton::clicked, this, [this, openHelp] {
        accept();
        if (openHelp) openHelp();
    });
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    layout->addWidget(buttons);
}

bool TFormFirstRun::dontShowAgain() const
{
    return m_dontShow->isChecked();
}
