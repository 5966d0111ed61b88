#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QTextBrowser;

// "Справка": the help pages in a browser with back, forward, the contents page and a search
// that goes on through the other pages when the current one has no more matches. One window
// serves the whole session; F1 brings it up on the page of the view in front.
class TFormHelp : public QDialog {
    Q_OBJECT
public:
    // `index`: the contents page of the help folder.
    explicit TFormHelp(const QString& index, QWidget* parent = nullptr);

    // Opens a page of the help folder ("stattable.html", "sums.html#SUMx").
    void showPage(const QString& page);
    // The next match of the text, in this page or the following ones; false when there is none.
    bool findText(const QString& text);

    QTextBrowser* browser() const { return m_browser; }
    QLineEdit* searchEdit() const { return m_search; }
    // The file name of the page shown ("sums.html").
    QString currentPage() const;

private:
    QString m_folder;
    QTextBrowser* m_browser;
    QLineEdit* m_search;
    QLabel* m_result;
};

// F1 inside a modal dialog: the main window's shortcut cannot reach past the dialog, so this
// filter (installed on the application) opens the dialog's help section in a help window over
// the dialog, where input is allowed.
class TDialogHelp : public QObject {
    Q_OBJECT
public:
    // `index` gives the contents page of the help folder, empty when there is no help.
    TDialogHelp(std::function<QString()> index, QObject* parent);
    // The help page of a dialog: its "helpPage" property, else the page of its kind, else the
    // contents.
    static QString pageOf(const QWidget* dialog);
    // Every page that a dialog kind names.
    static QStringList pages();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<QString()> m_index;
};
