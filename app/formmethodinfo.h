#pragma once
#include <QDialog>

class QTextBrowser;

// "Описание методики расчета": the description page of one statistic method. The pages live in
// the compiled help file, which this program cannot render itself; the window offers the page's
// address to the system's viewer. Without a help file the address is empty and the window blank.
class TFormMethodInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFormMethodInfo(const QString& address, QWidget* parent = nullptr);

    QString address() const { return m_address; }
    QTextBrowser* browser() const { return m_browser; }

private:
    QString m_address;
    QTextBrowser* m_browser;
};
