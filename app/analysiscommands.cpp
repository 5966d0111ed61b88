#include "app/analysiscommands.h"

#include <QAction>
#include <QString>
#include <utility>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/viewflags.h"
#include "app/views/repeatsview.h"
#include "core/workspace/workspace.h"

using namespace kv;

AnalysisCommands::AnalysisCommands(const UnitContext& ctx, const workspace::FormSettings& frm, Repaints repaints)
    : CommandUnit(ctx), m_frm(frm), m_repaints(std::move(repaints))
{
}

void AnalysisCommands::createColorCommands()
{
    struct ColorCommand {
        const char* name;
        const char* caption;
        bool workspace::TViewSettings::* flag;
        const std::function<void()>& repaint;
    };
    const ColorCommand colors[] = {
        {cmd::ViewColorDraws, "Выделять каналы в списке тиражей", &workspace::TViewSettings::ColorDraws, m_repaints.draws},
        {cmd::ViewColorCombs, "Выделять каналы в списке комбинаций", &workspace::TViewSettings::ColorCombs, m_repaints.combs},
        {cmd::ViewColorCard, "Выделять каналы в карте тиражей", &workspace::TViewSettings::ColorCard, m_repaints.card},
        {cmd::ViewColorCardSequences, "Выделять последовательности в карте тиражей",
         &workspace::TViewSettings::ColorCardSequences, m_repaints.card},
        {cmd::ViewLayoutGradient, "Градиентная раскраска схемы", &workspace::TViewSettings::LayoutGradient, m_repaints.layout},
    };
    for (const ColorCommand& c : colors) {
        QAction* a = m_commands.add(c.name, QString::fromUtf8(c.caption), QString(),
                                    [this, name = c.name, flag = c.flag, &repaint = c.repaint] {
                                        ToggleViewFlag(m_ws, m_shell, m_commands, flag, name);
                                        repaint();
                                    });
        a->setCheckable(true);
    }
}

void AnalysisCommands::restoreSettings()
{
    const workspace::TViewSettings& view = m_ws.View();
    m_commands.command(cmd::ViewColorDraws)->setChecked(view.ColorDraws);
    m_commands.command(cmd::ViewColorCombs)->setChecked(view.ColorCombs);
    m_commands.command(cmd::ViewColorCard)->setChecked(view.ColorCard);
    m_commands.command(cmd::ViewColorCardSequences)->setChecked(view.ColorCardSequences);
    m_commands.command(cmd::ViewLayoutGradient)->setChecked(view.LayoutGradient);
}

void AnalysisCommands::createRepeatsCommand()
{
    m_commands.add(cmd::AnalyzeRepeats, QStringLiteral("Количество повторов в зависимости от тиража"), QString(), [this] {
        TFormRepeats dialog(m_ws.Draws(), m_shell, m_frm, m_window);
        dialog.exec();
    }, [this] { return m_ws.DrawCount() > 0; });
}
