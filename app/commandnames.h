#pragma once
#include <string>

// The names of the commands: each is the QAction's object name, the key its menus, context
// menus and tool buttons are filled by, and what the tests look a command up by. One constant
// per name, so a misspelt name fails to compile instead of leaving a menu entry out.
namespace cmd {

// The main window and its views.
inline constexpr const char* About = "About";
inline constexpr const char* AnalyzeRepeats = "AnalyzeRepeats";
inline constexpr const char* AutoDownload0 = "AutoDownload0";
inline constexpr const char* AutoDownload1 = "AutoDownload1";
inline constexpr const char* AutoDownload2 = "AutoDownload2";
inline constexpr const char* AutoSelfUpdate = "AutoSelfUpdate";
inline constexpr const char* CardFilter_Exclude = "CardFilter_Exclude";
inline constexpr const char* CardFilter_Include = "CardFilter_Include";
inline constexpr const char* CardXlsExport = "CardXlsExport";
inline constexpr const char* CombsCheckNums = "CombsCheckNums";
inline constexpr const char* CombsCopy = "CombsCopy";
inline constexpr const char* CombsDelExists = "CombsDelExists";
inline constexpr const char* CombsDelSelected = "CombsDelSelected";
inline constexpr const char* CombsFindInDraws = "CombsFindInDraws";
inline constexpr const char* CombsGen = "CombsGen";
inline constexpr const char* CombsInfo = "CombsInfo";
inline constexpr const char* CombsOpen = "CombsOpen";
inline constexpr const char* CombsPaste = "CombsPaste";
inline constexpr const char* CombsSave = "CombsSave";
inline constexpr const char* CombsSelectAll = "CombsSelectAll";
inline constexpr const char* CombsUndo = "CombsUndo";
inline constexpr const char* CombsXlsExport = "CombsXlsExport";
inline constexpr const char* DrawsAdd = "DrawsAdd";
inline constexpr const char* DrawsDel = "DrawsDel";
inline constexpr const char* DrawsDownload = "DrawsDownload";
inline constexpr const char* DrawsEdit = "DrawsEdit";
inline constexpr const char* DrawsExport = "DrawsExport";
inline constexpr const char* DrawsGraphDraw = "DrawsGraphDraw";
inline constexpr const char* DrawsImport = "DrawsImport";
inline constexpr const char* DrawsInfo = "DrawsInfo";
inline constexpr const char* DrawsSorted = "DrawsSorted";
inline constexpr const char* DrawsStatCalc = "DrawsStatCalc";
inline constexpr const char* DrawsStatExportToExcel = "DrawsStatExportToExcel";
inline constexpr const char* DrawsStatShowTotalLine = "DrawsStatShowTotalLine";
inline constexpr const char* DrawsStatePrefetchsEnabled = "DrawsStatePrefetchsEnabled";
inline constexpr const char* DrawsXlsExport = "DrawsXlsExport";
inline constexpr const char* EditConfig = "EditConfig";
inline constexpr const char* EditOperatorUrl = "EditOperatorUrl";
inline constexpr const char* EditProxy = "EditProxy";
inline constexpr const char* EditShredding = "EditShredding";
inline constexpr const char* ExitProgram = "ExitProgram";
inline constexpr const char* FiltersInfo = "FiltersInfo";
inline constexpr const char* FiltersManager = "FiltersManager";
inline constexpr const char* FiltersReset = "FiltersReset";
inline constexpr const char* GetHelp = "GetHelp";
inline constexpr const char* LayoutCalc = "LayoutCalc";
inline constexpr const char* LayoutCmpCalc = "LayoutCmpCalc";
inline constexpr const char* LayoutFilter_Exclude = "LayoutFilter_Exclude";
inline constexpr const char* LayoutFilter_Include = "LayoutFilter_Include";
inline constexpr const char* LayoutXlsExport = "LayoutXlsExport";
inline constexpr const char* LogStakes = "LogStakes";
inline constexpr const char* LogStakesDelete = "LogStakesDelete";
inline constexpr const char* LogToggle = "LogToggle";
inline constexpr const char* LogsDelete = "LogsDelete";
inline constexpr const char* OpenLotoSite = "OpenLotoSite";
inline constexpr const char* RatingsEffMode0 = "RatingsEffMode0";
inline constexpr const char* RatingsEffMode1 = "RatingsEffMode1";
inline constexpr const char* RatingsEffMode2 = "RatingsEffMode2";
inline constexpr const char* RatingsExport = "RatingsExport";
inline constexpr const char* RatingsGraphOverlap = "RatingsGraphOverlap";
inline constexpr const char* RatingsLuckChart = "RatingsLuckChart";
inline constexpr const char* RatingsLuckTest = "RatingsLuckTest";
inline constexpr const char* RatingsRefresh = "RatingsRefresh";
inline constexpr const char* RatingsTestHalves = "RatingsTestHalves";
inline constexpr const char* RatingsToScript = "RatingsToScript";
inline constexpr const char* RatingsXlsExport = "RatingsXlsExport";
inline constexpr const char* ScriptAdd = "ScriptAdd";
inline constexpr const char* ScriptClone = "ScriptClone";
inline constexpr const char* ScriptClr = "ScriptClr";
inline constexpr const char* ScriptDel = "ScriptDel";
inline constexpr const char* ScriptDown = "ScriptDown";
inline constexpr const char* ScriptEdit = "ScriptEdit";
inline constexpr const char* ScriptEmpty = "ScriptEmpty";
inline constexpr const char* ScriptLibrary = "ScriptLibrary";
inline constexpr const char* ScriptLibraryDelete = "ScriptLibraryDelete";
inline constexpr const char* ScriptLibraryDownload = "ScriptLibraryDownload";
inline constexpr const char* ScriptLibraryHide = "ScriptLibraryHide";
inline constexpr const char* ScriptLibraryRate0 = "ScriptLibraryRate0";
inline constexpr const char* ScriptLibraryRate1 = "ScriptLibraryRate1";
inline constexpr const char* ScriptLibraryRate2 = "ScriptLibraryRate2";
inline constexpr const char* ScriptLibraryRate3 = "ScriptLibraryRate3";
inline constexpr const char* ScriptLibraryRate4 = "ScriptLibraryRate4";
inline constexpr const char* ScriptLibraryRate5 = "ScriptLibraryRate5";
inline constexpr const char* ScriptLibraryRates = "ScriptLibraryRates";
inline constexpr const char* ScriptLibraryRefresh = "ScriptLibraryRefresh";
inline constexpr const char* ScriptLibraryReplace = "ScriptLibraryReplace";
inline constexpr const char* ScriptLibraryUpload = "ScriptLibraryUpload";
inline constexpr const char* ScriptLibraryView = "ScriptLibraryView";
inline constexpr const char* ScriptLibraryXlsExport = "ScriptLibraryXlsExport";
inline constexpr const char* ScriptLoad = "ScriptLoad";
inline constexpr const char* ScriptOpen = "ScriptOpen";
inline constexpr const char* ScriptReport = "ScriptReport";
inline constexpr const char* ScriptRun = "ScriptRun";
inline constexpr const char* ScriptSave = "ScriptSave";
inline constexpr const char* ScriptStop = "ScriptStop";
inline constexpr const char* ScriptSurvival = "ScriptSurvival";
inline constexpr const char* ScriptTest = "ScriptTest";
inline constexpr const char* ScriptUp = "ScriptUp";
inline constexpr const char* SelfUpdate = "SelfUpdate";
inline constexpr const char* StakeAdd = "StakeAdd";
inline constexpr const char* StakeAddAll = "StakeAddAll";
inline constexpr const char* StakeAddRandom = "StakeAddRandom";
inline constexpr const char* StakeAddSelected = "StakeAddSelected";
inline constexpr const char* StakeClear = "StakeClear";
inline constexpr const char* StakeDel = "StakeDel";
inline constexpr const char* StakeFilter = "StakeFilter";
inline constexpr const char* StakesCheckLine = "StakesCheckLine";
inline constexpr const char* StakesCheckManual = "StakesCheckManual";
inline constexpr const char* StakesGraphDraws = "StakesGraphDraws";
inline constexpr const char* StakesGraphOverlap = "StakesGraphOverlap";
inline constexpr const char* StakesGraphProfits = "StakesGraphProfits";
inline constexpr const char* StakesScroll = "StakesScroll";
inline constexpr const char* StakesXlsExport = "StakesXlsExport";
inline constexpr const char* StatFilter_Exclude = "StatFilter_Exclude";
inline constexpr const char* StatFilter_Include = "StatFilter_Include";
inline constexpr const char* SystemStakeAll = "SystemStakeAll";
inline constexpr const char* SystemStakeFilter = "SystemStakeFilter";
inline constexpr const char* SystemsAdd = "SystemsAdd";
inline constexpr const char* SystemsDel = "SystemsDel";
inline constexpr const char* SystemsDownload = "SystemsDownload";
inline constexpr const char* SystemsOn = "SystemsOn";
inline constexpr const char* SystemsProp = "SystemsProp";
inline constexpr const char* SystemsRefresh = "SystemsRefresh";
inline constexpr const char* SystemsXlsExport = "SystemsXlsExport";
inline constexpr const char* TabCard = "TabCard";
inline constexpr const char* TabGraps = "TabGraps";
inline constexpr const char* TabLayout = "TabLayout";
inline constexpr const char* TabTables = "TabTables";
inline constexpr const char* TabWeek = "TabWeek";
inline constexpr const char* TablesAdd = "TablesAdd";
inline constexpr const char* TablesDel = "TablesDel";
inline constexpr const char* TablesStakeAdd = "TablesStakeAdd";
inline constexpr const char* TablesStakeTest = "TablesStakeTest";
inline constexpr const char* TablesXlsExport = "TablesXlsExport";
inline constexpr const char* TotalSumCombs = "TotalSumCombs";
inline constexpr const char* ViewColorCard = "ViewColorCard";
inline constexpr const char* ViewColorCardSequences = "ViewColorCardSequences";
inline constexpr const char* ViewColorCombs = "ViewColorCombs";
inline constexpr const char* ViewColorDraws = "ViewColorDraws";
inline constexpr const char* ViewLayoutGradient = "ViewLayoutGradient";
inline constexpr const char* ViewWeekChartMode = "ViewWeekChartMode";
inline constexpr const char* ViewWeekChartType = "ViewWeekChartType";
inline constexpr const char* WeekFilter_Exclude = "WeekFilter_Exclude";
inline constexpr const char* WeekFilter_Include = "WeekFilter_Include";
inline constexpr const char* WeekStatCalc = "WeekStatCalc";
inline constexpr const char* WeekXlsExport = "WeekXlsExport";

// One command per choice, in the choice's order.
inline constexpr const char* AutoDownloadModes[] = {AutoDownload0, AutoDownload1, AutoDownload2};
inline constexpr const char* RatingsEffModes[] = {RatingsEffMode0, RatingsEffMode1, RatingsEffMode2};
inline constexpr const char* ScriptLibraryRateValues[] = {ScriptLibraryRate0, ScriptLibraryRate1, ScriptLibraryRate2,
                                                          ScriptLibraryRate3, ScriptLibraryRate4, ScriptLibraryRate5};

// The language menu has one command per language module found beside the program, named after
// the language's locale identifier.
inline std::string Language(int id) { return "Language" + std::to_string(id); }
// Each of the layout view's comparison lists exports on its own (lists are numbered from 1).
inline std::string LayoutCompareXlsExport(int list) { return "LayoutCompare" + std::to_string(list) + "XlsExport"; }

// The menus, found by these object names rather than by their captions, which change with
// the interface language.
namespace menu {
inline constexpr const char* File = "MenuFile";
inline constexpr const char* Draws = "MenuDraws";
inline constexpr const char* Combs = "MenuCombs";
inline constexpr const char* Stats = "MenuStats";
inline constexpr const char* ExtendedStats = "MenuExtendedStats";
inline constexpr const char* Stakes = "MenuStakes";
inline constexpr const char* Scenario = "MenuScenario";
inline constexpr const char* Ratings = "MenuRatings";
inline constexpr const char* RatingsEff = "RatingsEffMenu";
inline constexpr const char* Regulars = "MenuRegulars";
inline constexpr const char* View = "MenuView";
inline constexpr const char* Settings = "MenuSettings";
inline constexpr const char* AutoDownload = "MenuAutoDownload";
inline constexpr const char* Language = "LanguageMenu";
inline constexpr const char* Catalog = "MenuCatalog";
inline constexpr const char* Systems = "MenuSystems";
inline constexpr const char* Help = "MenuHelp";
} // namespace menu

// The dialog "Избранные статистики" has a command set of its own.
inline constexpr const char* CheckAll = "CheckAll";
inline constexpr const char* CheckNone = "CheckNone";
inline constexpr const char* GroupAll = "GroupAll";
inline constexpr const char* GroupNone = "GroupNone";
inline constexpr const char* Rename = "Rename";
inline constexpr const char* ResetName = "ResetName";
inline constexpr const char* Info = "Info";
inline constexpr const char* NamesImport = "NamesImport";
inline constexpr const char* NamesExport = "NamesExport";

} // namespace cmd
