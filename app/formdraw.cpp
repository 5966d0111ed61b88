#include "app/formdraw.h"
#include "app/dialogutil.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <limits>

#include "app/datetimeqt.h"
#include "app/qtshell.h"
#include "core/archive/drawedit.h"
#include "core/game/game.h"

using namespace kv;

TFormDraw::TFormDraw(shell::Shell& shell, const game::TDraw& draw, bool editing, QWidget* parent)
    : QDialog(parent), m_shell(shell)
{
    setWindowTitle(editing ? QStringLiteral("Измените данные тиража %1").arg(draw.DrawNo)
                           : QStringLiteral("Введите данные следующего тиража"));
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(QStringLiteral("Номер тиража:")));
    m_drawNo = new QSpinBox;
    m_drawNo->setRange(1, game::MaxDrawNo);   // the next draw's number must still fit
    m_drawNo->setValue(draw.DrawNo > 0 ? draw.DrawNo : 1);
    layout->addWidget(m_drawNo);

    layout->addWidget(new QLabel(QStringLiteral("Выпавшие числа, разделенные точкой с запятой или запятой:")));
    m_numbers = new QLineEdit(qs(archive::DrawNumbersText(draw)));
    m_numbers->setPlaceholderText(QStringLiteral("1;5;8;11;13;16;18;20;3"));
    layout->addWidget(m_numbers);
    auto* form = new QLabel(QStringLiteral("8 чисел от 1 до 20, последним — дополнительное число от 1 до 4"));
    form->setObjectName(QStringLiteral("ExtraNumberLabel"));
    form->setEnabled(false);
    layout->addWidget(form);

    layout->addWidget(new QLabel(QStringLiteral("Дата и время тиража:")));
    auto* when = new QHBoxLayout;
    QDateTime initial = QDateTime::currentDateTime();
    const std::string dateText = draw.DateText();
    if (!dateText.empty()) {
        try {
            const game::TDateTime t = game::DrawTextToDateTime(dateText);
            if (t > 0) initial = DateTimeToQt(t);
        } catch (const std::exception&) {
            // An unreadable stored date starts the fields at the current date and time.
        }
    }
    m_date = new QDateEdit(initial.date());
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_date->setCalendarPopup(true);
    m_time = new QTimeEdit(initial.time());
    m_time->setDisplayFormat(QStringLiteral("HH:mm"));
    when->addWidget(m_date);
    when->addWidget(m_time);
    layout->addLayout(when);

    AddDialogButtons(this, layout)->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    resize(460, sizeHint().height());
}

void TFormDraw::accept()
{
    game::TComb nums{};
    uint8_t extra = 0;
    if (!archive::ParseDrawNumbers(us(m_numbers->text()), nums, extra)) {
        m_shell.ShowError(archive::InvalidDrawText);
        m_numbers->setFocus();
        return;
    }
    const QDateTime date(m_date->date(), QTime(0, 0), Qt::UTC);
    const QDateTime time(QDate(1899, 12, 30), m_time->time(), Qt::UTC);
    m_result = archive::MakeDialogDraw(m_drawNo->value(), nums, extra, QtToDateTime(date), QtToDateTime(time));
    QDialog::accept();
}
