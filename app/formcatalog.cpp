#include "app/formcatalog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/catalogtexts.h"
#include "app/language.h"
#include "app/qtshell.h"
#include "core/util/cp1251.h"
#include "core/util/files.h"
#include "core/online/onlinesystems.h"

using namespace kv;

QString LanguageName(int lcid)
{
    switch (lcid) {
    case 1049: return TrText(QStringLiteral("Русский"));
    case 1033: return QStringLiteral("English");
    case 1058: return TrText(QStringLiteral("Українська"));
    case 1059: return TrText(QStringLiteral("Беларуская"));
    default: return QString::number(lcid);
    }
}

QString CatalogTime(int64_t utc)
{
    if (utc <= 0) return {};
    return QDateTime::fromSecsSinceEpoch(utc).toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

TFormScriptProps::TFormScriptProps(const online::tScriptData& data, const QString& programName, SendCheck check,
                                   QWidget* parent)
    : QDialog(parent), m_data(data)
{
    setWindowTitle(QStringLiteral("Свойства сценария"));
    const bool editable = static_cast<bool>(check);
    auto* form = new QFormLayout;
    m_title = new QLineEdit(qs(data.Title));
    m_title->setMaxLength(64);
    m_author = new QLineEdit(qs(data.AuthorName));
    m_author->setMaxLength(64);
    m_language = new QComboBox;
    m_language->addItem(LanguageName(1049), 1049);
    if (m_language->findData(data.Lcid) < 0) m_language->addItem(LanguageName(data.Lcid), data.Lcid);
    m_language->setCurrentIndex(m_language->findData(data.Lcid));
    form->addRow(QStringLiteral("Название:"), m_title);
    form->addRow(QStringLiteral("Автор:"), m_author);
    form->addRow(QStringLiteral("Язык:"), m_language);
    auto* usage = new QGroupBox(QStringLiteral(" Применяемость "));
    auto* usageLayout = new QVBoxLayout(usage);
    m_onlyHere = new QRadioButton(TrText(QStringLiteral("Только в \"%1\"")).arg(programName));
    m_everywhere = new QRadioButton(QStringLiteral("В любом приложении Varta"));
    usageLayout->addWidget(m_onlyHere);
    usageLayout->addWidget(m_everywhere);
    (data.Universal ? m_everywhere : m_onlyHere)->setChecked(true);
    auto* access = new QGroupBox(QStringLiteral(" Доступность "));
    auto* accessLayout = new QVBoxLayout(access);
    m_public = new QRadioButton(QStringLiteral("Сценарий виден всем пользователям"));
    m_private = new QRadioButton(QStringLiteral("Сценарий виден только мне"));
    accessLayout->addWidget(m_public);
    accessLayout->addWidget(m_private);
    (data.Public ? m_public : m_private)->setChecked(true);
    m_descr = new QPlainTextEdit(qs(data.Descr));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto* groups = new QHBoxLayout;
    groups->addWidget(usage);
    groups->addWidget(access);
    layout->addLayout(groups);
    layout->addWidget(new QLabel(QStringLiteral("Описание:")));
    layout->addWidget(m_descr);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    if (editable) {
        m_send = new QPushButton(QStringLiteral("Отправить сценарий на сервер"));
        m_send->setDefault(true);
        buttons->addWidget(m_send);
        connect(m_send, &QPushButton::clicked, this, [this, check] {
            if (check(*this)) accept();
        });
    } else {
        for (QWidget* w : std::initializer_list<QWidget*>{m_title, m_author, m_descr})
            w->setProperty("readOnly", true);
        for (QWidget* w : std::initializer_list<QWidget*>{m_language, usage, access}) w->setEnabled(false);
    }
    m_close = new QPushButton(QStringLiteral("Закрыть окно"));
    buttons->addWidget(m_close);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons);
    if (!editable) m_close->setFocus();
    resize(520, 440);
}

online::tScriptData TFormScriptProps::data() const
{
    online::tScriptData d = m_data;
    d.Title = us(m_title->text().trimmed());
    d.AuthorName = us(m_author->text().trimmed());
    d.Lcid = m_language->currentData().toInt();
    d.Universal = m_everywhere->isChecked();
    d.Public = m_public->isChecked();
    d.Descr = us(m_descr->toPlainText());
    return d;
}

TFormRates::TFormRates(const std::vector<online::tRateInfo>& rates, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Оценки пользователей"));
    m_table = new QTableWidget(static_cast<int>(rates.size()), 6);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Имя"), QStringLiteral("Оценка"), QStringLiteral("Дата"),
                                        QStringLiteral("Программа"), QStringLiteral("Версия"),
                                        QStringLiteral("Комментарии")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < static_cast<int>(rates.size()); ++r) {
        const online::tRateInfo& x = rates[static_cast<std::size_t>(r)];
        const QString cells[] = {qs(x.AuthorName), QString::number(x.Rate), CatalogTime(x.Created),
                                 qs(x.AppName),    qs(x.AppVer),            qs(x.Notes)};
        for (int c = 0; c < 6; ++c) m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    auto* close = new QPushButton(QStringLiteral("Закрыть"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    resize(640, 320);
}

TFormIdentity::TFormIdentity(const online::TOnlineIdentity& identity, QWidget* parent)
    : QDialog(parent), m_identity(identity)
{
    setWindowTitle(QStringLiteral("Данные автора"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(
        "Для публикации и оценки сценариев и систем укажите своё имя и адрес электронной почты.\n"
        "По адресу каталог отличает Ваши записи от чужих.")));
    auto* form = new QFormLayout;
    m_name = new QLineEdit(qs(identity.AuthorName));
    m_name->setMaxLength(64);
    m_mail = new QLineEdit(qs(identity.AuthorMail));
    m_mail->setMaxLength(128);
    form->addRow(QStringLiteral("Имя автора:"), m_name);
    form->addRow(QStringLiteral("Электронная почта:"), m_mail);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

online::TOnlineIdentity TFormIdentity::identity() const
{
    online::TOnlineIdentity id = m_identity;
    id.AuthorName = us(m_name->text().trimmed());
    id.AuthorMail = us(m_mail->text().trimmed());
    return id;
}

void TFormIdentity::accept()
{
    const online::TOnlineIdentity id = identity();
    if (id.AuthorName.empty()) {
        QMessageBox::critical(this, QStringLiteral("Ошибка"), QStringLiteral("Имя автора должно быть указано обязательно!"));
        m_name->setFocus();
        return;
    }
    const std::string& mail = id.AuthorMail;
    const std::size_t at = mail.find('@');
    if (at == std::string::npos || at == 0 || at + 1 >= mail.size() || mail.find_first_of(" <>") != std::string::npos) {
        QMessageBox::critical(this, QStringLiteral("Ошибка"), QStringLiteral("Укажите действующий адрес электронной почты!"));
        m_mail->setFocus();
        return;
    }
    QDialog::accept();
}

TFormSystem::TFormSystem(const online::tSystemData& data, bool editable, QWidget* parent)
    : QDialog(parent), m_data(data)
{
    setWindowTitle(QStringLiteral("Система"));
    const auto line = [editable](const QString& text, bool digits = false) {
        auto* e = new QLineEdit(text);
        e->setReadOnly(!editable);
        if (digits) e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), e));
        return e;
    };
    m_title = line(qs(data.Title));
    m_author = line(qs(data.AuthorName));
    m_descr = new QPlainTextEdit(qs(data.Descr));
    m_descr->setReadOnly(!editable);
    m_descr->setMaximumHeight(80);
    m_url = line(qs(data.Url));
    m_combs = new QPlainTextEdit(qs(data.Combs));
    m_combs->setReadOnly(!editable);
    m_combs->installEventFilter(this);
    m_nums = line(data.Nums ? QString::number(data.Nums) : QString(), true);
    auto* length = new QLineEdit(QStringLiteral("8"));
    length->setReadOnly(true);
    m_olap = line(QString::number(data.Olap), true);
    m_count = new QLineEdit(QString::number(data.CSize));
    m_count->setReadOnly(true);
    const auto stamp = [](int64_t t) {
        auto* e = new QLineEdit(CatalogTime(t));
        e->setReadOnly(true);
        return e;
    };
    auto* open = new QPushButton(QStringLiteral("Открыть"));
    open->setEnabled(!data.Url.empty());
    connect(m_url, &QLineEdit::textChanged, open, [open](const QString& t) { open->setEnabled(!t.trimmed().isEmpty()); });
    connect(open, &QPushButton::clicked, this, [this] { QDesktopServices::openUrl(QUrl(m_url->text().trimmed())); });
    auto* urlRow = new QHBoxLayout;
    urlRow->addWidget(m_url);
    urlRow->addWidget(open);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Наименование:"), m_title);
    form->addRow(QStringLiteral("Автор:"), m_author);
    form->addRow(QStringLiteral("Описание:"), m_descr);
    form->addRow(QStringLiteral("Ссылка:"), urlRow);
    auto* numbers = new QFormLayout;
    numbers->addRow(QStringLiteral("Числа:"), m_nums);
    numbers->addRow(QStringLiteral("Длина:"), length);
    numbers->addRow(QStringLiteral("Блок:"), m_olap);
    numbers->addRow(QStringLiteral("Комбинаций:"), m_count);
    numbers->addRow(QStringLiteral("Создана:"), stamp(data.Created));
    auto* downloads = new QLineEdit(QString::number(data.Downloads));
    downloads->setReadOnly(true);
    numbers->addRow(QStringLiteral("Загрузок:"), downloads);
    numbers->addRow(QStringLiteral("Последняя:"), stamp(data.LastDownload));

    // The date fields set the width of the column of numbers.
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 16;
    for (int r = 0; r < numbers->rowCount(); ++r)
        if (QLayoutItem* item = numbers->itemAt(r, QFormLayout::FieldRole); item && item->widget())
            item->widget()->setMinimumWidth(fieldWidth);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    auto* tools = new QHBoxLayout;
    const auto tool = [&](const QString& caption, auto slot, bool changes) {
        auto* b = new QPushButton(caption);
        b->setEnabled(editable || !changes);
        connect(b, &QPushButton::clicked, this, slot);
        tools->addWidget(b);
    };
    tool(QStringLiteral("Копировать"), [this] { QApplication::clipboard()->setText(m_combs->toPlainText()); }, false);
    tool(QStringLiteral("Вставить"), [this] {
        m_combs->setPlainText(QApplication::clipboard()->text());
        normaliseList();
    }, true);
    tool(QStringLiteral("Выделить всё"), [this] { m_combs->selectAll(); }, false);
    tool(QStringLiteral("Загрузить из файла"), [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Загрузить из файла"));
        if (file.isEmpty()) return;
        try {
            m_combs->setPlainText(qs(util::Cp1251ToUtf8(util::ReadWholeFile(file.toStdString()))));
            normaliseList();
        } catch (const std::exception& e) {
            QMessageBox::critical(this, QStringLiteral("Ошибка"), qs(e.what()));
        }
    }, true);
    tool(QStringLiteral("Сохранить в файл"), [this] {
        const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить в файл"));
        if (file.isEmpty()) return;
        try {
            util::RewriteFile(file.toStdString(), util::Utf8ToCp1251(us(m_combs->toPlainText()).append("\r\n")));
        } catch (const std::exception& e) {
            QMessageBox::critical(this, QStringLiteral("Ошибка"), qs(e.what()));
        }
    }, false);
    tools->addStretch();

    auto* body = new QHBoxLayout;
    auto* listSide = new QVBoxLayout;
    listSide->addWidget(new QLabel(QStringLiteral("Список комбинаций:")));
    listSide->addWidget(m_combs);
    listSide->addLayout(tools);
    body->addLayout(listSide, 1);
    body->addLayout(numbers);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    if (editable) {
        m_ok = new QPushButton(QStringLiteral("Сохранить"));
        m_ok->setDefault(true);
        connect(m_ok, &QPushButton::clicked, this, &TFormSystem::accept);
        buttons->addWidget(m_ok);
    }
    auto* close = new QPushButton(QStringLiteral("Закрыть окно"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    if (!editable) close->setFocus();
    resize(720, 560);
}

bool TFormSystem::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_combs && event->type() == QEvent::FocusOut && !m_combs->isReadOnly()) normaliseList();
    return QDialog::eventFilter(watched, event);
}

void TFormSystem::normaliseList()
{
    const online::TNormalisedSystem n = online::NormaliseSystemList(us(m_combs->toPlainText()));
    const QString text = qs(n.Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text != m_combs->toPlainText()) m_combs->setPlainText(text);
    m_nums->setText(QString::number(n.Nums));
    m_count->setText(QString::number(n.Count));
}

online::tSystemData TFormSystem::data() const
{
    online::tSystemData d = m_data;
    d.Title = us(m_title->text().trimmed());
    d.AuthorName = us(m_author->text().trimmed());
    d.Descr = us(m_descr->toPlainText());
    d.Url = us(m_url->text().trimmed());
    d.Nums = m_nums->text().toInt();
    d.Olap = m_olap->text().toInt();
    const online::TNormalisedSystem n = online::NormaliseSystemList(us(m_combs->toPlainText()));
    d.Combs = n.Text;
    d.CSize = n.Count;
    if (d.Created == 0) d.Created = QDateTime::currentSecsSinceEpoch();
    return d;
}

void TFormSystem::accept()
{
    normaliseList();
    const std::optional<online::TSystemProblem> problem = online::ValidateSystem(data());
    if (problem) {
        QMessageBox::critical(this, QStringLiteral("Ошибка"), qs(problem->Message));
        QWidget* const fields[] = {m_title, m_nums, m_olap, m_author, m_descr, m_combs};
        fields[static_cast<int>(problem->Field)]->setFocus();
        return;
    }
    QDialog::accept();
}
