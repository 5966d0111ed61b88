#include "app/formexport.h"
#include "app/dialogutil.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/qtshell.h"

TFormExportOptions::TFormExportOptions(const kv::util::TExportOptions& options, const QString& listTitle, QWidget* parent)
    : QDialog(parent), m_options(options)
{
    setObjectName(QStringLiteral("TFormExportOptions"));
    setWindowTitle(QStringLiteral("Параметры экспорта"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const auto edit = [](const char* name, const std::string& text, const QString& placeholder) {
        auto* e = new QLineEdit(qs(text));
        e->setObjectName(QString::fromLatin1(name));
        e->setPlaceholderText(placeholder);
        e->setMinimumWidth(320);
        return e;
    };
    m_title = edit("Title", options.Title, listTitle);
    m_note = edit("Note", options.Note, QString());
    m_sheet = edit("SheetName", options.SheetName, listTitle);
    m_orientation = new QComboBox;
    m_orientation->setObjectName(QStringLiteral("Orientation"));
    m_orientation->addItems({QStringLiteral("Книжная"), QStringLiteral("Альбомная")});
    m_orientation->setCurrentIndex(options.Landscape ? 1 : 0);
    m_fontSize = new QSpinBox;
    m_fontSize->setObjectName(QStringLiteral("FontSize"));
    m_fontSize->setRange(kv::util::MinExportFontSize, kv::util::MaxExportFontSize);
    m_fontSize->setValue(options.FontSize);
    form->addRow(QStringLiteral("Заголовок:"), m_title);
    form->addRow(QStringLiteral("Примечание:"), m_note);
    form->addRow(QStringLiteral("Имя листа:"), m_sheet);
    form->addRow(QStringLiteral("Ориентация страницы:"), m_orientation);
    form->addRow(QStringLiteral("Размер шрифта:"), m_fontSize);
    layout->addLayout(form);
    AddDialogButtons(this, layout);
}

kv::util::TExportOptions TFormExportOptions::options() const
{
    kv::util::TExportOptions o = m_options;
    o.Title = us(m_title->text().trimmed());
    o.Note = us(m_note->text().trimmed());
    o.SheetName = us(m_sheet->text().trimmed());
    o.Landscape = m_orientation->currentIndex() == 1;
    o.FontSize = m_fontSize->value();
    return o;
}
