#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/types.h"
#include "core/stakes/stakecommands.h"
#include "core/util/files.h"

namespace kv::shell {
class Shell;
}

namespace kv::stakes {

struct TStakeRecord;
class TStakesFile;

// A regular (table) stake: a rule that makes one stake per draw by shifting a combination by
// Step with wrap-around inside 1..20. Also the record of the tables file, 284 bytes,
// little-endian:
//   0  u8       length of Name (0..255), then 255 CP1251 bytes
// 256  u8       UseDraw: 1 shifts the newest draw of the analysis window, 0 shifts Current
// 257  8 x u8   Start, ascending (zero when made without exactly one selected combination)
// 265  8 x u8   Current: the combination of the last stake made (Start at first), ascending
// 273  3 bytes  reserved, written as zero
// 276  int32    Step, -20..20
// 280  int32    Count: how many times the regular was advanced
struct TRegularRecord {
    static constexpr std::size_t RecordSize = 284;
    static constexpr std::size_t NameCapacity = 255;

    static constexpr std::size_t OffName = 0;
    static constexpr std::size_t OffUseDraw = 256;
    static constexpr std::size_t OffStart = 257;
    static constexpr std::size_t OffCurrent = 265;
    static constexpr std::size_t OffStep = 276;
    static constexpr std::size_t OffCount = 280;

    std::string Name;   // UTF-8; written as CP1251 and cut to 255 characters
    uint8_t UseDraw = 0;
    game::TComb Start{};
    game::TComb Current{};
    int32_t Step = 0;
    int32_t Count = 0;

    void Read(const uint8_t* p);
    void Write(uint8_t* p) const;

    // The fields are in the ranges the program gives them (UseDraw 0 or 1, Step -20..20, Count
    // not negative, numbers 0..20); bytes of another format read as a record practically never
    // are.
    bool IsValid() const;

    bool operator==(const TRegularRecord&) const = default;
};
using TRegularsArray = std::vector<TRegularRecord>;

constexpr int MinRegularStep = -20;
constexpr int MaxRegularStep = 20;
constexpr std::size_t RegularNameMaxChars = 64;   // what the dialog lets the user type

// Moves the regular one draw on: the base (the 8 numbers of the archive's draw at index
// count - 1 - drawsOffset when UseDraw, all zero when there is no such draw; otherwise Current)
// shifted by Step, sorted ascending, becomes Current; Count grows by one. Step 0 keeps the base.
void AdvanceRegular(TRegularRecord& regular, const game::TDrawsArray& draws, int drawsOffset);

// --- the "Регуляры" view ----------------------------------------------------------------------

// Columns: 0 "Комментарий" (Name), 1 "Стартовая комбинация" (Start joined with ";"), 2 "Шаг",
// 3 "Текущая комбинация" (Current joined with ";"), 4 "Ставок" (Count).
constexpr int RegularColumnCount = 5;
const char* RegularColumnCaption(int column);   // empty outside 0..4
std::string RegularCellText(const TRegularRecord& regular, int column);

// --- the dialog "Добавление регулярной ставки" ----------------------------------------------

// The record the dialog opens with: Name "Регулярная ставка", UseDraw 0, Step 1, Count 0, and
// Start = the combination when exactly one is selected in the combination list.
TRegularRecord NewRegularDraft(const std::optional<game::TComb>& oneSelected);
// The numbers field: that combination joined with ";", or "{...Выделенные комбинации...}" when
// not exactly one combination is selected. Editable only for one combination and the first
// choice ("Использовать постоянную стартовую комбинацию:").
std::string RegularNumbersFieldText(const std::optional<game::TComb>& oneSelected);
constexpr const char* SelectedCombsFieldText = "{...Выделенные комбинации...}";
constexpr bool RegularNumbersEditable(bool oneSelected, bool useDraw) { return oneSelected && !useDraw; }

// What the user gave the dialog.
struct TRegularInput {
    std::string Name;
    bool UseDraw = false;          // the second choice, "Использовать данные предыдущего тиража"
    std::string NumbersText;
    int Step = 1;
    // What the dialog was opened over: the combinations selected in the list and the draws of
    // the archive. Neither choice can make a regular from nothing.
    int SelectedCombs = 1;
    int DrawCount = 1;
};
constexpr const char* NoStartCombText =
    "Не выбрана стартовая комбинация!\nВыделите одну или несколько комбинаций в списке комбинаций "
    "или выберите \"Использовать данные предыдущего тиража\".";
constexpr const char* NoPreviousDrawText =
    "Архив тиражей пуст, данных предыдущего тиража нет!\nЗагрузите тиражи или выберите постоянную стартовую "
    "комбинацию.";
constexpr const char* DuplicateRegularText =
    "Запись с таким комментарией уже присутствует в списке!\nВыберите другой комментарий.";
// Confirming the dialog. Refuses with the message to show (the dialog stays open): under the
// first choice with one selected combination a numbers field that is not 8 different numbers
// 1..20 (BadStakeText), the first choice with nothing selected (NoStartCombText), the second
// with an empty archive (NoPreviousDrawText), an empty name (NoCommentText), a name that an existing regular has in
// any case (DuplicateRegularText). Otherwise gives the record: Name (cut to 64 characters),
// UseDraw, Step (kept within -20..20) and, with one selected combination, Start from the
// numbers field, sorted; Current = Start, Count 0.
struct TRegularAccept {
    std::string Error;   // empty when accepted
    TRegularRecord Record;
};
TRegularAccept AcceptRegularDialog(const TRegularInput& input, const std::optional<game::TComb>& oneSelected,
                                   const TRegularsArray& existing);

// A selected combination of the combination list with its 0-based position.
struct TSelectedComb {
    int Index = 0;
    game::TComb Comb{};
};
// The regulars that TablesAdd appends for the accepted record: the record itself when it uses
// the draw or exactly one combination is selected; otherwise one per selected combination, in
// list order, named "<name> (<1-based position>)" and starting from that combination; none
// when nothing is selected.
TRegularsArray MakeRegulars(const TRegularRecord& accepted, std::span<const TSelectedComb> selected);

// --- the file ------------------------------------------------------------------------------------

std::string RegularsFileBytes(const TRegularsArray& rows);
// The whole records up to the first one that is not a regular (BadRecord, -1 when all are),
// and how many bytes of a partial record trail the last one.
struct TRegularsFileContent {
    TRegularsArray Rows;
    int BadRecord = -1;
    std::size_t TrailingBytes = 0;
};
TRegularsFileContent ParseTablesFile(std::string_view bytes);

// --- staking ---------------------------------------------------------------------------------------

// What staking a regular needs of the program around it.
struct TRegularStakeContext {
    const game::TDrawsArray* Draws = nullptr;   // the whole archive
    int DrawsOffset = 0;                        // the current offset of the analysis window
    // Moves the analysis window during TablesStakeTest (without recomputing the analysis views);
    // empty: the window is not shown anywhere.
    std::function<void(int offset)> SetDrawsOffset;
    int32_t SampleSize = 0;                     // the count of the combination list
    TPrizeTable Prizes;                         // the stake cost
    TStakesFile* Stakes = nullptr;
    bool ScrollEnabled = true;                  // StakesScrollEnabled
    TStakeViewHooks Hooks;                      // RefreshView and Check (CheckStakesAndReload)
};

// The stake dialog of the stakes ("Добавление ставки"): may change the stake's draw, numbers
// and comment and the draws count; false when cancelled.
using TStakeDialog = std::function<bool(TStakeRecord& stake, int& drawsCount)>;

// The stake a regular makes for the draw after the window at drawsOffset: origin 2, the
// regular's name as comment, its Current as numbers.
TStakeRecord RegularStake(const TRegularRecord& regular, const game::TDrawsArray& draws, int drawsOffset,
                          int32_t sampleSize, const TPrizeTable& prizes);

// --- the regulars of a running program ----------------------------------------------------

// The regulars with their file. They are held only while the tab "Регуляры" is shown (the
// TabTables window setting); loading and saving do nothing while it is hidden. onChanged is
// what the view does after a load or a save: refresh its rows.
class TRegulars {
public:
    static constexpr const char* FileName = "Kvanta_8x20.ltb";

    TRegulars() = default;
    explicit TRegulars(std::filesystem::path path) : m_path(std::move(path)) {}

    const std::filesystem::path& Path() const { return m_path; }
    void SetPath(std::filesystem::path path) { m_path = std::move(path); }

    const TRegularsArray& Items() const { return m_items; }
    int Count() const { return static_cast<int>(m_items.size()); }
    const TRegularRecord& operator[](int row) const { return m_items[static_cast<std::size_t>(row)]; }

    bool Visible() const { return m_visible; }
    // The tab's state from the window settings at start-up, before LoadTables; hiding drops
    // the regulars.
    void SetVisible(bool visible);
    // The TabTables command: toggles the tab; shown, it loads the file; hidden, it drops the
    // regulars. The new state, which the caller stores in the window settings.
    bool TabTables(shell::Shell& shell);

    // Reads the file (while shown and when it exists) with "Загрузка файла регулярных
    // ставок..."; a failure shows "Ошибка чтения файла регулярных ставок!" with the reason and
    // keeps the records read (a file that cannot be read at all is then never rewritten in this
    // run, and none is written before it was read). A file that ends in a partial record, or whose records stop being
    // regulars, is read up to there after a copy of it was kept as "Kvanta_8x20.ltb.bak".
    void LoadTables(shell::Shell& shell);
    // Rewrites the file safely (while shown) with "Сохранение файла регулярных ставок..."; a
    // failure shows "Ошибка записи в файл регулярных ставок!" with the reason and gives false.
    bool SaveTables(shell::Shell& shell);

    // TablesAdd after the dialog: appends MakeRegulars(accepted, selected) and saves.
    void TablesAdd(shell::Shell& shell, const TRegularRecord& accepted, std::span<const TSelectedComb> selected);
    // TablesDel: asks, then removes the rows from the last to the first and saves. A row
    // outside the array fails with "Запись со индексом %d в файле данных не найдена!" before
    // anything is removed. False when refused or failed.
    bool TablesDel(shell::Shell& shell, std::vector<int> rows);
    // TablesStakeAdd: advances a copy of the regular, builds its stake and opens the stake
    // dialog; on confirmation the advanced copy replaces the regular, the file is saved and the
    // stake added (AddStake). Cancelling changes nothing. The result of the addition.
    bool TablesStakeAdd(shell::Shell& shell, int row, const TRegularStakeContext& context,
                        const TStakeDialog& dialog);
    // TablesStakeTest over the last n draws (1 .. draws - 1): for offset n down to 1 every
    // selected regular is advanced for good and stakes the draw after that offset's window, in
    // bulk; the first failure ends the test. The window goes back to where it was, the file is
    // saved, and when the last addition succeeded the stakes are checked and the view goes to
    // the last row. False for an n out of range, a bad row or a failure.
    bool TablesStakeTest(shell::Shell& shell, std::span<const int> rows, int n, const TRegularStakeContext& context);
    // The test-count dialog offers 1 .. draws - 1 and starts at 10.
    static constexpr int DefaultTestCount = 10;

    std::function<void()> onChanged;

private:
    void changed();
    bool checkRow(shell::Shell& shell, int row) const;

    std::filesystem::path m_path;
    bool m_readOnly = false;   // a damaged file whose copy failed is never rewritten
    util::TReadBeforeWrite m_read;
    TRegularsArray m_items;
    bool m_visible = true;
};

} // namespace kv::stakes
