#pragma once
#include <QString>

class QLabel;
class QStatusBar;
class QtShell;
class RunRefresh;

// The window's status bar: six counting fields the views fill, and the last, long one that
// shows the program's messages and, while nothing else is reported there, the commands' hints.
class StatusBar {
public:
    static constexpr int Fields = 7;
    static constexpr int Messages = Fields - 1;

    // Builds the fields in `bar` and hands the messages field to `shell`; during a scenario run
    // its messages follow `refresh`'s pace like the views.
    StatusBar(QStatusBar* bar, QtShell& shell, RunRefresh& refresh);
    void setText(int field, const QString& text);
    QString text(int field) const;
    // A command's hint, dropped while the program is busy.
    void showHint(const QString& hint);

private:
    QtShell& m_shell;
    QLabel* m_fields[Fields] = {};
};
