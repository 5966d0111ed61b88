#include "core/stakes/regulars.h"

#include <algorithm>
#include <system_error>

#include "core/archive/archive.h"
#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/shell/shell.h"
#include "core/stakes/ratings.h"
#include "core/stakes/sametext.h"
#include "core/stakes/stakerecord.h"
#include "core/stakes/stakesfile.h"
#include "core/util/binio.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::stakes {

// --- the record ---------------------------------------------------------------------------------

void TRegularRecord::Read(const uint8_t* p)
{
    Name = util::GetShortString(p + OffName, NameCapacity);
    UseDraw = util::GetU8(p + OffUseDraw);
    std::copy(p + OffStart, p + OffStart + Start.size(), Start.begin());
    std::copy(p + OffCurrent, p + OffCurrent + Current.size(), Current.begin());
    Step = util::GetI32(p + OffStep);
    Count = util::GetI32(p + OffCount);
}

void TRegularRecord::Write(uint8_t* p) const
{
    std::fill(p, p + RecordSize, uint8_t{0});
    util::PutShortString(p + OffName, NameCapacity, Name);
    util::PutU8(p + OffUseDraw, UseDraw);
    std::copy(Start.begin(), Start.end(), p + OffStart);
    std::copy(Current.begin(), Current.end(), p + OffCurrent);
    util::PutI32(p + OffStep, Step);
    util::PutI32(p + OffCount, Count);
}

bool TRegularRecord::IsValid() const
{
    if (UseDraw > 1 || Step < MinRegularStep || Step > MaxRegularStep || Count < 0) return false;
    auto inRange = [](const game::TComb& c) {
        return std::all_of(c.begin(), c.end(), [](uint8_t n) { return n <= game::MaxNumber; });
    };
    return inRange(Start) && inRange(Current);
}

void AdvanceRegular(TRegularRecord& regular, const game::TDrawsArray& draws, int drawsOffset)
{
    const game::TComb base = regular.UseDraw ? archive::DrawNumsBack(draws, drawsOffset) : regular.Current;
    regular.Current = game::ShiftComb(base, regular.Step);
    game::SortComb(regular.Current);
    // A count read from a file may stand at its limit already: it stays there.
    if (regular.Count < INT32_MAX) ++regular.Count;
}

// --- the view -------------------------------------------------------------------------------------

const char* RegularColumnCaption(int column)
{
    static constexpr const char* captions[RegularColumnCount] = {
        "Комментарий", "Стартовая комбинация", "Шаг", "Текущая комбинация", "Ставок"};
    return column >= 0 && column < RegularColumnCount ? captions[column] : "";
}

std::string RegularCellText(const TRegularRecord& regular, int column)
{
    switch (column) {
    case 0: return regular.Name;
    case 1: return game::CombToText(regular.Start);
    case 2: return std::to_string(regular.Step);
    case 3: return game::CombToText(regular.Current);
    case 4: return std::to_string(regular.Count);
    default: return {};
    }
}

// --- the dialog -----------------------------------------------------------------------------------

TRegularRecord NewRegularDraft(const std::optional<game::TComb>& oneSelected)
{
    TRegularRecord r;
    r.Name = "Регулярная ставка";
    r.UseDraw = 0;
    r.Step = 1;
    r.Count = 0;
    if (oneSelected) {
        r.Start = *oneSelected;
        game::SortComb(r.Start);
    }
    r.Current = r.Start;
    return r;
}

std::string RegularNumbersFieldText(const std::optional<game::TComb>& oneSelected)
{
    return oneSelected ? game::CombToText(*oneSelected) : std::string(SelectedCombsFieldText);
}

TRegularAccept AcceptRegularDialog(const TRegularInput& input, const std::optional<game::TComb>& oneSelected,
                                   const TRegularsArray& existing)
{
    TRegularAccept a;
    const std::optional<game::TNumSet> typed = ParseStakeText(input.NumbersText);
    if (oneSelected && !input.UseDraw && !typed) {
        a.Error = BadStakeText;
        return a;
    }
    if (!input.UseDraw && input.SelectedCombs <= 0) {
        a.Error = NoStartCombText;
        return a;
    }
    if (input.UseDraw && input.DrawCount <= 0) {
        a.Error = NoPreviousDrawText;
        return a;
    }
    if (input.Name.empty()) {
        a.Error = NoCommentText;
        return a;
    }
    const std::string name = util::Utf8Left(input.Name, RegularNameMaxChars);
    for (const TRegularRecord& r : existing) {
        if (SameText(r.Name, name)) {
            a.Error = DuplicateRegularText;
            return a;
        }
    }
    TRegularRecord& r = a.Record;
    r.Name = name;
    r.UseDraw = input.UseDraw ? 1 : 0;
    r.Step = std::clamp(input.Step, MinRegularStep, MaxRegularStep);
    if (oneSelected) {
        // Under the second choice the field is not checked; a text that is no combination
        // must not become the start, so the selected combination stays it.
        r.Start = typed ? typed->Nums : *oneSelected;
        game::SortComb(r.Start);
    }
    r.Current = r.Start;
    r.Count = 0;
    return a;
}

TRegularsArray MakeRegulars(const TRegularRecord& accepted, std::span<const TSelectedComb> selected)
{
    TRegularsArray out;
    if (accepted.UseDraw || selected.size() == 1) {
        TRegularRecord r = accepted;
        r.Current = r.Start;
        r.Count = 0;
        out.push_back(std::move(r));
        return out;
    }
    for (const TSelectedComb& s : selected) {
        TRegularRecord r = accepted;
        r.Name = accepted.Name + util::Format(" (%d)", {s.Index + 1});
        r.Start = s.Comb;
        game::SortComb(r.Start);
        r.Current = r.Start;
        r.Count = 0;
        out.push_back(std::move(r));
    }
    return out;
}

// --- the file ------------------------------------------------------------------------------------

std::string RegularsFileBytes(const TRegularsArray& rows)
{
    std::string bytes(rows.size() * TRegularRecord::RecordSize, '\0');
    auto* p = reinterpret_cast<uint8_t*>(bytes.data());
    for (const TRegularRecord& r : rows) {
        r.Write(p);
        p += TRegularRecord::RecordSize;
    }
    return bytes;
}

TRegularsFileContent ParseTablesFile(std::string_view bytes)
{
    TRegularsFileContent c;
    const std::size_t whole = bytes.size() / TRegularRecord::RecordSize;
    c.TrailingBytes = bytes.size() % TRegularRecord::RecordSize;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < whole; ++i, p += TRegularRecord::RecordSize) {
        TRegularRecord r;
        r.Read(p);
        if (!r.IsValid()) {
            c.BadRecord = static_cast<int>(i);
            break;
        }
        c.Rows.push_back(std::move(r));
    }
    return c;
}

// --- staking ---------------------------------------------------------------------------------------

TStakeRecord RegularStake(const TRegularRecord& regular, const game::TDrawsArray& draws, int drawsOffset,
                          int32_t sampleSize, const TPrizeTable& prizes)
{
    return NewStake(OriginRegular, archive::NextDrawNo(draws, drawsOffset), sampleSize, regular.Current, regular.Name,
                    prizes);
}

// --- the regulars of the program ---------------------------------------------------------------

namespace {

constexpr const char* NoRecordText = "Запись со индексом %d в файле данных не найдена!";

} // namespace

void TRegulars::changed()
{
    if (onChanged) onChanged();
}

void TRegulars::SetVisible(bool visible)
{
    m_visible = visible;
    if (!visible) {
        m_items.clear();
        m_read.Forget();
    }
}

bool TRegulars::TabTables(shell::Shell& shell)
{
    shell::BusyScope busy(shell);
    SetVisible(!m_visible);
    if (m_visible) LoadTables(shell);
    else changed();
    return m_visible;
}

void TRegulars::LoadTables(shell::Shell& shell)
{
    if (!m_visible) return;
    m_read.MarkRead();
    std::error_code ec;
    if (!std::filesystem::exists(m_path, ec)) {
        m_items.clear();
        changed();
        return;
    }
    {
        shell::BusyScope busy(shell, "Загрузка файла регулярных ставок...");
        const std::string name = m_path.filename().string();
        try {
            TRegularsFileContent content = ParseTablesFile(util::ReadWholeFile(m_path));
            m_items = std::move(content.Rows);
            // Every change rewrites the whole file, which would drop what could not be read.
            if (content.BadRecord >= 0 || content.TrailingBytes > 0) {
                const util::TBackupCopy copy = util::KeepBackupCopy(m_path);
                m_readOnly = !copy.Saved;
                if (content.BadRecord >= 0)
                    shell.ShowFailure("Ошибка чтения файла регулярных ставок!",
                        util::Format("Запись %d файла \"%s\" не является записью регулярной ставки: файл другой версии "
                                     "или поврежден. Прочитаны записи до нее (%d).",
                                     {content.BadRecord + 1, name, content.BadRecord}) + "\n\n" + copy.Note);
                else
                    shell.ShowMessage(shell::MessageKind::Warning,
                        util::Format("Файл регулярных ставок \"%s\" заканчивается неполной записью (%d байт); она не "
                                     "прочитана.",
                                     {name, static_cast<int>(content.TrailingBytes)}) + "\n\n" + copy.Note);
            }
        } catch (const std::exception& e) {
            m_readOnly = true;
            shell.ShowFailure("Ошибка чтения файла регулярных ставок!", e.what());
        }
    }
    changed();
}

bool TRegulars::SaveTables(shell::Shell& shell)
{
    if (!m_visible) return false;
    bool ok = true;
    {
        shell::BusyScope busy(shell, "Сохранение файла регулярных ставок...");
        try {
            m_read.CheckWrite(m_path);
            if (m_readOnly) throw Error(util::ReadOnlyFileText(m_path));
            util::RewriteFile(m_path, RegularsFileBytes(m_items));
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка записи в файл регулярных ставок!", e.what());
            ok = false;
        }
    }
    changed();
    return ok;
}

bool TRegulars::checkRow(shell::Shell& shell, int row) const
{
    if (row >= 0 && row < Count()) return true;
    shell.ShowError(util::Format(NoRecordText, {row}));
    return false;
}

void TRegulars::TablesAdd(shell::Shell& shell, const TRegularRecord& accepted, std::span<const TSelectedComb> selected)
{
    if (!m_visible) return;
    shell::BusyScope busy(shell, "Создание регулярных ставок...");
    for (TRegularRecord& r : MakeRegulars(accepted, selected)) m_items.push_back(std::move(r));
    SaveTables(shell);
}

bool TRegulars::TablesDel(shell::Shell& shell, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty() || !shell.AskDelete(static_cast<int>(rows.size()))) return false;
    shell::BusyScope busy(shell, "Удаление регулярных ставок...");
    for (int row : rows)
        if (!checkRow(shell, row)) return false;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) m_items.erase(m_items.begin() + *it);
    SaveTables(shell);
    return true;
}

bool TRegulars::TablesStakeAdd(shell::Shell& shell, int row, const TRegularStakeContext& context,
                             const TStakeDialog& dialog)
{
    if (context.Stakes == nullptr || !checkRow(shell, row)) return false;
    static const game::TDrawsArray noDraws;
    const game::TDrawsArray& draws = context.Draws ? *context.Draws : noDraws;
    TRegularRecord advanced = m_items[static_cast<std::size_t>(row)];
    AdvanceRegular(advanced, draws, context.DrawsOffset);
    TStakeRecord stake = RegularStake(advanced, draws, context.DrawsOffset, context.SampleSize, context.Prizes);
    int drawsCount = 1;
    if (!dialog || !dialog(stake, drawsCount)) return false;
    m_items[static_cast<std::size_t>(row)] = advanced;
    SaveTables(shell);
    return AddStake(*context.Stakes, shell, stake, drawsCount, context.Hooks);
}

bool TRegulars::TablesStakeTest(shell::Shell& shell, std::span<const int> rows, int n,
                              const TRegularStakeContext& context)
{
    static const game::TDrawsArray noDraws;
    const game::TDrawsArray& draws = context.Draws ? *context.Draws : noDraws;
    if (context.Stakes == nullptr) return false;
    if (n < 1 || n > static_cast<int>(draws.size()) - 1 || rows.empty()) return false;
    for (int row : rows)
        if (!checkRow(shell, row)) return false;

    bool ok = true;
    {
        shell::BusyScope busy(shell, "Создание ставок по регулярным табличным ставкам...");
        const int remembered = context.DrawsOffset;
        {
            TStakesFile::TBulkAppend bulk(*context.Stakes);
            for (int offset = n; offset >= 1 && ok; --offset) {
                if (context.SetDrawsOffset) context.SetDrawsOffset(offset);
                for (int row : rows) {
                    TRegularRecord& regular = m_items[static_cast<std::size_t>(row)];
                    AdvanceRegular(regular, draws, offset);
                    const TStakeRecord stake = RegularStake(regular, draws, offset, context.SampleSize, context.Prizes);
                    if (!AddStakes(*context.Stakes, shell, stake, 1, true, context.ScrollEnabled, context.Hooks)) {
                        ok = false;
                        break;
                    }
                }
                shell.ProcessEvents();
            }
            if (!bulk.Finish(shell)) ok = false;
        }
        if (context.SetDrawsOffset) context.SetDrawsOffset(remembered);
        SaveTables(shell);
        if (ok) {
            if (context.Hooks.Check) context.Hooks.Check();
            if (context.Hooks.RefreshView) context.Hooks.RefreshView(true, true);
        }
    }
    return ok;
}

} // namespace kv::stakes
