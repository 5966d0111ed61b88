#pragma once
#include <QDialog>

class QTextBrowser;

// "Описание методики расчета": the description of one statistic method, its family's help page
// scrolled to the method's entry. Without help the address is empty and the window blank.
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
