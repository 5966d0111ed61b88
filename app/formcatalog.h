#pragma once
#include <QDialog>
#include <functional>
#include <vector>

#include "core/online/catalog.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The language name of a Windows locale identifier (the catalogue's "Язык" column).
QString LanguageName(int lcid);

// "Свойства сценария": publishing, changing or only viewing a catalogue entry. With a send
// check the dialog has the button "Отправить сценарий на сервер" and closes only when the
// check accepts what was typed; without one it is read-only with "Закрыть окно" focused.
class TFormScriptProps : public QDialog {
    Q_OBJECT
public:
    using SendCheck = std::function<bool(TFormScriptProps&)>;
    TFormScriptProps(const kv::online::tScriptData& data, const QString& programName, SendCheck check,
                     QWidget* parent = nullptr);

    kv::online::tScriptData data() const;
    QLineEdit* titleEdit() const { return m_title; }
    QLineEdit* authorEdit() const { return m_author; }
    QPlainTextEdit* descrEdit() const { return m_descr; }
    QPushButton* sendButton() const { return m_send; }
    QPushButton* closeButton() const { return m_close; }

private:
    kv::online::tScriptData m_data;
    QLineEdit* m_title;
    QLineEdit* m_author;
    QComboBox* m_language;
    QRadioButton* m_onlyHere;
    QRadioButton* m_everywhere;
    QRadioButton* m_public;
    QRadioButton* m_private;
    QPlainTextEdit* m_descr;
    QPushButton* m_send = nullptr;
    QPushButton* m_close;
};

// "Оценки пользователей": one row per rating.
class TFormRates : public QDialog {
    Q_OBJECT
public:
    TFormRates(const std::vector<kv::online::tRateInfo>& rates, QWidget* parent = nullptr);
    QTableWidget* table() const { return m_table; }

private:
    QTableWidget* m_table;
};

// The user's name and e-mail for the catalogue, asked once and kept in [ONLINE].
class TFormIdentity : public QDialog {
    Q_OBJECT
public:
    TFormIdentity(const kv::online::TOnlineIdentity& identity, QWidget* parent = nullptr);
    kv::online::TOnlineIdentity identity() const;
    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* mailEdit() const { return m_mail; }
    void accept() override;

private:
    kv::online::TOnlineIdentity m_identity;
    QLineEdit* m_name;
    QLineEdit* m_mail;
};

// "Система": a play system's properties and combination list. Read-only for another user's
// system. Leaving the list normalises it; confirming validates in the editor's order and keeps
// the dialog open on the field that failed.
class TFormSystem : public QDialog {
    Q_OBJECT
public:
    TFormSystem(const kv::online::tSystemData& data, bool editable, QWidget* parent = nullptr);
    kv::online::tSystemData data() const;
    void accept() override;
    // Rewrites the list as the editor keeps it and sets "Числа:" and "Комбинаций:".
    void normaliseList();

    QLineEdit* titleEdit() const { return m_title; }
    QPlainTextEdit* combsEdit() const { return m_combs; }
    QLineEdit* numsEdit() const { return m_nums; }
    QLineEdit* olapEdit() const { return m_olap; }
    QLineEdit* countEdit() const { return m_count; }
    QPushButton* okButton() const { return m_ok; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    kv::online::tSystemData m_data;
    QLineEdit* m_title;
    QLineEdit* m_author;
    QPlainTextEdit* m_descr;
    QLineEdit* m_url;
    QPlainTextEdit* m_combs;
    QLineEdit* m_nums;
    QLineEdit* m_olap;
    QLineEdit* m_count;
    QPushButton* m_ok = nullptr;
};
