#pragma once
#include <QPointer>
#include <QString>
#include <string>
#include <string_view>

#include "core/shell/shell.h"

class QLabel;
class QProgressDialog;
class QWidget;

inline QString qs(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string us(const QString& text)
{
    return text.toStdString();
}

// The Shell of the windowed program: real message boxes, the hourglass while busy, the last
// status field for status texts and a progress dialog with "Отмена".
class QtShell : public kv::shell::Shell {
public:
    explicit QtShell(QWidget* window);
    ~QtShell() override;

    void SetStatusLabel(QLabel* label) { m_status = label; }
    void SetStatusText(std::string_view text) override;
    void ProcessEvents() override;

protected:
    void doShowMessage(kv::shell::MessageKind kind, std::string_view text) override;
    bool doAsk(std::string_view caption, std::string_view text, bool yesIsDefault) override;
    void busyChanged(bool busy) override;
    void progressShown(bool cancellable) override;
    void progressChanged(std::string_view text, int pos, int max) override;
    bool progressCancelRequested() override;
    void progressHidden() override;

private:
    QWidget* m_window;
    QLabel* m_status = nullptr;
    QProgressDialog* m_progress = nullptr;
};
