#include "app/menubar.h"

#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <vector>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/language.h"

void CreateMenuBar(QMenuBar* bar, TCommandSet& commands, const MenuBarParts& parts)
{
    const char* const sep = TCommandSet::Separator;
    const std::vector<TCommandSet::TMenuLayout> menus = {
        {cmd::menu::File, QStringLiteral("Файл"), {cmd::DrawsImport, cmd::DrawsExport, cmd::DrawsXlsExport, sep, cmd::ExitProgram}},
        {cmd::menu::Draws, QStringLiteral("Тиражи"),
         {cmd::DrawsDownload, cmd::OpenLotoSite, sep, cmd::DrawsAdd, cmd::DrawsEdit, cmd::DrawsDel, sep, cmd::DrawsSorted, cmd::DrawsInfo}},
        {cmd::menu::Combs, QStringLiteral("Комбинации"),
         {cmd::CombsGen, cmd::CombsUndo, cmd::CombsDelExists, cmd::CombsDelSelected, sep, cmd::CombsOpen, cmd::CombsSave, cmd::CombsCopy,
          cmd::CombsPaste, cmd::CombsSelectAll, sep, cmd::CombsFindInDraws, cmd::CombsCheckNums, cmd::CombsInfo, cmd::TotalSumCombs,
          sep, cmd::CombsXlsExport}},
        {cmd::menu::Stats, QStringLiteral("Статистика"),
         {cmd::StatFilter_Include, cmd::StatFilter_Exclude, sep, cmd::DrawsStatCalc, cmd::DrawsStatePrefetchsEnabled,
          cmd::DrawsStatShowTotalLine, sep, cmd::FiltersManager, cmd::FiltersReset, cmd::FiltersInfo, sep, cmd::EditShredding,
          cmd::EditConfig, sep, cmd::DrawsStatExportToExcel}},
        {cmd::menu::Stakes, QStringLiteral("Ставки"),
         {cmd::StakeAdd, cmd::StakeAddRandom, cmd::StakeAddSelected, cmd::StakeAddAll, sep, cmd::StakeDel, cmd::StakeFilter, cmd::StakeClear,
          sep, cmd::StakesCheckManual, cmd::StakesScroll, cmd::StakesCheckLine, sep, cmd::LogStakes, cmd::LogStakesDelete, sep,
          cmd::StakesGraphDraws, cmd::StakesGraphOverlap, cmd::StakesGraphProfits, sep, cmd::StakesXlsExport}},
        {cmd::menu::Scenario, QStringLiteral("Сценарий"),
         {cmd::ScriptOpen, cmd::ScriptSave, cmd::ScriptLoad, sep, cmd::ScriptAdd, cmd::ScriptEmpty, cmd::ScriptClone, cmd::ScriptEdit,
          cmd::ScriptDel, cmd::ScriptClr, sep, cmd::ScriptUp, cmd::ScriptDown, sep, cmd::ScriptRun, cmd::ScriptTest, cmd::ScriptStop, sep,
          cmd::LogToggle, cmd::LogsDelete, cmd::ScriptSurvival, cmd::ScriptReport}},
    };
    for (const TCommandSet::TMenuLayout& layout : menus) commands.addMenu(bar, layout);
    parts.ratings(TCommandSet::addMenu(bar, cmd::menu::Ratings, QStringLiteral("Рейтинг")));
    parts.regulars(TCommandSet::addMenu(bar, cmd::menu::Regulars, QStringLiteral("Регуляры")));
    commands.addMenu(bar, {cmd::menu::View, QStringLiteral("Вид"),
                                    {cmd::TabGraps, cmd::TabCard, cmd::TabLayout, cmd::TabWeek, cmd::TabTables, sep, cmd::ViewColorDraws,
                                     cmd::ViewColorCombs, cmd::ViewColorCard, cmd::ViewColorCardSequences, cmd::ViewLayoutGradient, sep,
                                     cmd::ViewWeekChartMode, cmd::ViewWeekChartType}});
    if (auto* stats = bar->findChild<QMenu*>(cmd::menu::Stats)) {
        stats->addSeparator();
        commands.fillMenu(TCommandSet::addSubmenu(stats, cmd::menu::ExtendedStats, QStringLiteral("Расширенная статистика")),
                             {cmd::AnalyzeRepeats});
    }
    QMenu* settings = commands.addMenu(bar, {cmd::menu::Settings, QStringLiteral("Настройки"), {cmd::EditProxy, cmd::EditOperatorUrl}});
    commands.fillMenu(TCommandSet::addSubmenu(settings, cmd::menu::AutoDownload, QStringLiteral("Загрузка тиражей при запуске")),
                         {cmd::AutoDownload0, cmd::AutoDownload1, cmd::AutoDownload2});
    commands.fillMenu(settings, {sep, cmd::AutoSelfUpdate});
    parts.settings(settings);
    commands.addMenu(bar, {cmd::menu::Catalog, QStringLiteral("Каталог"),
                                    {cmd::ScriptLibrary, sep, cmd::ScriptLibraryRefresh, cmd::ScriptLibraryDownload,
                                     cmd::ScriptLibraryUpload, cmd::ScriptLibraryReplace, cmd::ScriptLibraryDelete, sep,
                                     cmd::ScriptLibraryView, cmd::ScriptLibraryRates, sep, cmd::ScriptLibraryRate1,
                                     cmd::ScriptLibraryRate2, cmd::ScriptLibraryRate3, cmd::ScriptLibraryRate4,
                                     cmd::ScriptLibraryRate5, cmd::ScriptLibraryRate0, cmd::ScriptLibraryHide}});
    commands.addMenu(bar, {cmd::menu::Systems, QStringLiteral("Системы"),
                                    {cmd::SystemsOn, sep, cmd::SystemsRefresh, cmd::SystemsDownload, cmd::SystemsAdd, cmd::SystemsProp,
                                     cmd::SystemsDel, sep, cmd::SystemStakeAll, cmd::SystemStakeFilter}});
    commands.addMenu(bar, {cmd::menu::Help, QStringLiteral("Справка"), {cmd::GetHelp, sep, cmd::SelfUpdate, cmd::About}});
    TranslateMenus(bar);
    TCommandSet::assignMnemonics(bar);
}
