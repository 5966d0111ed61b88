#include "app/qtshell.h"

#include "app/formwait.h"
#include "app/language.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

using kv::shell::MessageKind;

QtShell::QtShell(QWidget* window) : m_window(window) {}

QtShell::~QtShell()
{
    delete m_progress;
    delete m_wait;
    while (IsBusy()) UnmarkBusy();
}

void QtShell::SetStatusText(std::string_view text)
{
    if (!m_status) return;
    auto show = [label = m_status, shown = TrText(qs(text))] {
        label->setText(shown);
        label->repaint();
    };
    if (routeStatus) routeStatus(m_status, std::move(show));
    else show();
}

void QtShell::ProcessEvents()
{
    QCoreApplication::processEvents();
}

void QtShell::WaitShow(std::string_view text)
{
    SetStatusText(text.substr(0, text.find('\n')));
    if (!m_wait) {
        m_waitCancel = false;
        m_wait = new TFormWait(m_window);
        QObject::connect(m_wait, &TFormWait::cancelRequested, m_wait, [this] { m_waitCancel = true; });
        m_wait->show();
    }
    m_wait->setText(TrText(qs(text)));
    m_wait->adjustSize();
    m_wait->repaint();
}

void QtShell::WaitClose()
{
    SetStatusText("");
    delete m_wait;
    m_wait = nullptr;
}

bool QtShell::WaitCancelled()
{
    return m_waitCancel.load();
}

void QtShell::doShowMessage(MessageKind kind, std::string_view text)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case MessageKind::Error: icon = QMessageBox::Critical; break;
    case MessageKind::Information: icon = QMessageBox::Information; break;
    case MessageKind::Attention:
    case MessageKind::Warning: icon = QMessageBox::Warning; break;
    }
    QMessageBox box(icon, TrText(qs(kv::shell::MessageCaption(kind))), TrText(qs(text)), QMessageBox::Ok, m_window);
    box.exec();
}

bool QtShell::doAsk(std::string_view caption, std::string_view text, bool yesIsDefault)
{
    QMessageBox box(QMessageBox::Question, TrText(qs(caption)), TrText(qs(text)), QMessageBox::Yes | QMessageBox::No, m_window);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtShell::busyChanged(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtShell::progressShown(bool cancellable)
{
    delete m_progress;
    m_progress = new QProgressDialog(m_window);
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(0);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setCancelButtonText(cancellable ? QStringLiteral("Отмена") : QString());
    m_progress->show();
}

void QtShell::progressChanged(std::string_view text, int pos, int max)
{
    if (!m_progress) return;
    m_progress->setLabelText(TrText(qs(text)));
    m_progress->setMaximum(max);
    m_progress->setValue(pos);
}

bool QtShell::progressCancelRequested()
{
    return m_progress && m_progress->wasCanceled();
}

void QtShell::progressHidden()
{
    delete m_progress;
    m_progress = nullptr;
}

namespace {
QTranslator& qtRussian()
{
    static QTranslator texts;
    return texts;
}
} // namespace

bool InstallQtRussian()
{
    if (!qtRussian().load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
    return QCoreApplication::installTranslator(&qtRussian());
}

void RemoveQtRussian()
{
    QCoreApplication::removeTranslator(&qtRussian());
}
