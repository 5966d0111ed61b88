// The matrix kinds of group 4: the number card laid out in rows of MatrixCols numbers. Every
// kind exists for columns and for rows; they differ only in which of the two is the group and
// which the cross direction, so each is written once over an axis.
#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/game/counting.h"
#include "core/game/types.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/kinds/tuplekinds.h"
#include "core/util/format.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

enum class TAxis { Columns, Rows };

// Numbers of one draw that touch on the card along the axis: two numbers in the same column one
// row apart (column pairs), or in the same row one column apart (row pairs; consecutive numbers
// split by the end of a row are no pair). Pairs are visited i = 1..7, j = i + 1..8; the result
// holds the lines of the axis that have a pair, in the order of their first pair, with their
// pair counts. A line needs two numbers of its own, so at most four lines have pairs.
struct TAdjacency {
    std::array<uint8_t, 4> Line{};
    std::array<uint8_t, 4> Pairs{};
    int Lines = 0;

    void Add(uint8_t line)
    {
        for (int k = 0; k < Lines; ++k)
            if (Line[std::size_t(k)] == line) {
                ++Pairs[std::size_t(k)];
                return;
            }
        Line[std::size_t(Lines)] = line;
        Pairs[std::size_t(Lines)] = 1;
        ++Lines;
    }
};

// The column count is copied when the instance is created, as a byte like the card settings it
// mirrors, and the row count follows from it; a later change of the settings affects only
// instances created afterwards.
template <class Base, TAxis Axis>
class TMatrixBase : public Base {
public:
    TMatrixBase(const TStatKind& kind, const TStatEnv& env, int32_t param)
        : Base(kind, env, param),
          Cols(uint8_t(env.Config.MatrixCols)),
          Rows(uint8_t(game::GroupCount(1, game::MaxNumber, Cols))),
          m_columns(MakeGroupTable([c = Cols](int n) { return game::Column(n, c); })),
          m_rows(MakeGroupTable([c = Cols](int n) { return game::Row(n, c); }))
    {
        for (int a = 0; a < PairSpan; ++a)
            for (int b = 0; b < PairSpan; ++b)
                m_pairLine[std::size_t(a * PairSpan + b)] = isPair(uint8_t(a), uint8_t(b)) ? TupleGroups()[a] : 0;
    }

    const uint8_t Cols;
    const uint8_t Rows;

    int ColumnOf(uint8_t n) const { return m_columns[n]; }
    int RowOf(uint8_t n) const { return m_rows[n]; }

    // The groups of the axis (columns or rows), their number, and the cross direction.
    const TGroupTable& TupleGroups() const { return Axis == TAxis::Columns ? m_columns : m_rows; }
    const TGroupTable& CrossGroups() const { return Axis == TAxis::Columns ? m_rows : m_columns; }
    int Lines() const { return Axis == TAxis::Columns ? Cols : Rows; }
    int CrossLines() const { return Axis == TAxis::Columns ? Rows : Cols; }

    TAdjacency Adjacency(const TComb& n) const
    {
        TAdjacency a;
        // Numbers of the card read the pairs from a table (a pair's line is never 0: only the
        // byte 0 has column 0, and with 0 columns nothing is a pair); other bytes test each pair.
        if ((n[0] | n[1] | n[2] | n[3] | n[4] | n[5] | n[6] | n[7]) < PairSpan) {
            for (int i = 0; i < game::NumsPerDraw - 1; ++i) {
                const uint8_t* row = &m_pairLine[std::size_t(n[std::size_t(i)] * PairSpan)];
                for (int j = i + 1; j < game::NumsPerDraw; ++j)
                    if (const uint8_t l = row[n[std::size_t(j)]]) a.Add(l);
            }
        } else {
            for (int i = 0; i < game::NumsPerDraw - 1; ++i)
                for (int j = i + 1; j < game::NumsPerDraw; ++j)
                    if (isPair(n[std::size_t(i)], n[std::size_t(j)])) a.Add(TupleGroups()[n[std::size_t(i)]]);
        }
        return a;
    }

private:
    static constexpr int PairSpan = 32;

    bool isPair(uint8_t a, uint8_t b) const
    {
        const int d = CrossGroups()[a] - CrossGroups()[b];
        return TupleGroups()[a] == TupleGroups()[b] && (d == 1 || d == -1);
    }

    const TGroupTable m_columns;
    const TGroupTable m_rows;
    std::array<uint8_t, PairSpan * PairSpan> m_pairLine{};   // line of the pair (a, b), 0 for none
};

template <TAxis Axis>
using TCustomMatrixStat = TMatrixBase<TCustomNumbersStat, Axis>;
template <TAxis Axis>
using TCustomMatrixGraphStat = TMatrixBase<TCustomGraphStat, Axis>;

// "COLS", "ROWS": the column (row) of each number.
template <TAxis Axis>
class TstLines final : public TValueKind<TstLines<Axis>, TCustomMatrixStat<Axis>> {
public:
    using TValueKind<TstLines<Axis>, TCustomMatrixStat<Axis>>::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        const TGroupTable& t = this->TupleGroups();
        for (uint8_t x : n) emit(t[x]);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        this->listRange(lastIndex, values, 1, this->Lines());
    }
};

// "COLV", "ROWV": one value per column (row) in order, empty ones included: (line, count).
template <TAxis Axis>
class TstLineValues final : public TGroupPairKind<TstLineValues<Axis>, TCustomMatrixStat<Axis>> {
public:
    using TGroupPairKind<TstLineValues<Axis>, TCustomMatrixStat<Axis>>::TGroupPairKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Value;
    static constexpr bool SmallKeys = false;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        const TGroupTable& t = this->TupleGroups();
        std::array<uint8_t, 256> count{};
        for (uint8_t x : n) ++count[t[x]];
        for (int l = 1; l <= this->Lines(); ++l) emit(l, count[std::size_t(l)]);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        TCustomStat::ListValues(lastIndex, values);
        // A short last row is listed with the full range like every other row.
        const int most = std::min(this->CrossLines(), game::NumsPerDraw);
        for (int l = 1; l <= this->Lines(); ++l)
            for (int k = 0; k <= most; ++k) {
                this->Cur.Key = {int16_t(l), int16_t(k), 0, 0};
                this->AddCur(values, false);
            }
    }
    std::string ValueToText(const TStatDrawItem& value) const override { return PairText(value); }
};

// "COLN", "ROWN": how many columns (rows) are occupied.
template <TAxis Axis>
class TstLineCount final : public TValueKind<TstLineCount<Axis>, TCustomMatrixGraphStat<Axis>> {
public:
    using TValueKind<TstLineCount<Axis>, TCustomMatrixGraphStat<Axis>>::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        emit(DistinctGroups(n, this->TupleGroups()));
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        this->listRange(lastIndex, values, 1, std::min(this->Lines(), game::NumsPerDraw));
    }
};

// "COLM", "ROWM": the occupied columns (rows) as a mask, line 1 the highest bit, shown as one
// digit per line and the mask in three digits: "1100 (012)".
template <TAxis Axis>
class TstLineMask final : public TGroupPairKind<TstLineMask<Axis>, TCustomMatrixStat<Axis>> {
public:
    using TGroupPairKind<TstLineMask<Axis>, TCustomMatrixStat<Axis>>::TGroupPairKind;
    static constexpr TMatchRule MatchRule = TMatchRule::LongKey1;
    static constexpr bool SmallKeys = false;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        // Line l is bit Lines - l; with more than 32 lines the first ones shift out of the word,
        // as the 32-bit mask of the card settings always did.
        const TGroupTable& t = this->TupleGroups();
        const int lines = this->Lines();
        uint32_t m = 0;
        for (uint8_t x : n) {
            const int l = t[x];
            if (l >= 1 && l <= lines && lines - l < 32) m |= uint32_t(1) << (lines - l);
        }
        emit(int(m & 0xFFFF), int(m >> 16));
    }
    std::string ValueToText(const TStatDrawItem& value) const override
    {
        const uint32_t m = uint32_t(value.LongKey());
        std::string digits;
        for (int bit = this->Lines() - 1; bit >= 0; --bit) digits += bit < 32 && ((m >> bit) & 1u) ? '1' : '0';
        return util::Format("%s (%.3d)", {digits, value.LongKey()});
    }
    // The first Lines characters, the first one highest; a shorter text reads as 0 bits at its
    // end, so that a digit always keeps the weight of its line.
    int32_t TextToValue(std::string_view text) const override
    {
        uint32_t m = 0;
        std::size_t pos = 0;
        for (int l = 0; l < this->Lines(); ++l) {
            bool one = false;
            if (pos < text.size()) {
                one = text[pos] == '1';
                pos += charLength(uint8_t(text[pos]));
            }
            m = m * 2 + (one ? 1u : 0u);
        }
        return int32_t(m);
    }

private:
    // Byte length of a UTF-8 character from its first byte (1 for a stray continuation byte).
    static std::size_t charLength(uint8_t c) { return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4; }
};

// "COLA", "ROWA": per column (row) with a pair, its pair count + 1, in the order of the first
// pairs. Three numbers one above the other make 2 pairs and the value 3, as two separate pairs do.
template <TAxis Axis>
class TstLineAdjacent final : public TGroupPairKind<TstLineAdjacent<Axis>, TCustomMatrixStat<Axis>> {
public:
    using TGroupPairKind<TstLineAdjacent<Axis>, TCustomMatrixStat<Axis>>::TGroupPairKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Value;
    static constexpr bool SmallKeys = false;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        const TAdjacency a = this->Adjacency(n);
        for (int k = 0; k < a.Lines; ++k) emit(a.Line[std::size_t(k)], a.Pairs[std::size_t(k)] + 1);
    }
    std::string ValueToText(const TStatDrawItem& value) const override { return PairText(value); }
};

// "COLC", "ROWC": how many columns (rows) have a pair; 0 without any.
template <TAxis Axis>
class TstLineAdjacentCnt final : public TValueKind<TstLineAdjacentCnt<Axis>, TCustomMatrixGraphStat<Axis>> {
public:
    using TValueKind<TstLineAdjacentCnt<Axis>, TCustomMatrixGraphStat<Axis>>::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        emit(this->Adjacency(n).Lines);
    }
};

// "COL%d", "ROW%d": how many numbers lie in the column (row) of the parameter; listed up to the
// length of a line, 0 shown only when a draw has it.
template <TAxis Axis>
class TstLineValCnt final : public TValueKind<TstLineValCnt<Axis>, TCustomMatrixGraphStat<Axis>> {
public:
    using TValueKind<TstLineValCnt<Axis>, TCustomMatrixGraphStat<Axis>>::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        emit(CountInGroup(n, this->TupleGroups(), this->Param()));
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        this->listRange(lastIndex, values, 1, this->CrossLines());
    }
};

using TstColumns = TstLines<TAxis::Columns>;
using TstRows = TstLines<TAxis::Rows>;
using TstColValues = TstLineValues<TAxis::Columns>;
using TstRowValues = TstLineValues<TAxis::Rows>;
using TstColCount = TstLineCount<TAxis::Columns>;
using TstRowCount = TstLineCount<TAxis::Rows>;
using TstColMask = TstLineMask<TAxis::Columns>;
using TstRowMask = TstLineMask<TAxis::Rows>;
using TstColAjacent = TstLineAdjacent<TAxis::Columns>;
using TstRowAjacent = TstLineAdjacent<TAxis::Rows>;
using TstColAjacentCnt = TstLineAdjacentCnt<TAxis::Columns>;
using TstRowAjacentCnt = TstLineAdjacentCnt<TAxis::Rows>;
using TstColValCnt = TstLineValCnt<TAxis::Columns>;
using TstRowValCnt = TstLineValCnt<TAxis::Rows>;

// --- descriptors ------------------------------------------------------------------------------

constexpr TStatGroup MatrixGroup = GroupMatrix;

// 1..MatrixCols and 1..rows; nothing without a positive column count.
std::pair<int, int> columnParamRange(const TConfigData& config)
{
    return {1, config.MatrixCols > 0 ? config.MatrixCols : 0};
}
std::pair<int, int> rowParamRange(const TConfigData& config)
{
    return {1, config.MatrixCols > 0 ? game::GroupCount(1, game::MaxNumber, config.MatrixCols) : 0};
}

TStatKind kind(int position, const char* className, const char* code, const char* caption, unsigned flags,
               bool graph, bool numeric, TStatKind::Factory create)
{
    return TStatKind({.Position = position, .ClassName = className, .Code = code, .Caption = caption,
                      .Group = MatrixGroup, .Flags = flags, .Graph = graph, .NumericValue = numeric,
                      .Create = std::move(create)});
}

// The three tuple sizes of one family, at three consecutive positions.
template <TAxis Axis, TGroupTupleForm Form>
void addTupleKinds(std::vector<TStatKind>& kinds, int position, const std::array<const char*, 3>& classNames,
                   const char* code, const char* caption)
{
    kinds.push_back(TupleKind(MatrixGroup, position, classNames[0], code, caption, 2,
                              GroupKindFactory<TGroupTupleStat<TCustomMatrixStat<Axis>, 2, Form>>()));
    kinds.push_back(TupleKind(MatrixGroup, position + 1, classNames[1], code, caption, 3,
                              GroupKindFactory<TGroupTupleStat<TCustomMatrixStat<Axis>, 3, Form>>()));
    kinds.push_back(TupleKind(MatrixGroup, position + 2, classNames[2], code, caption, 4,
                              GroupKindFactory<TGroupTupleStat<TCustomMatrixStat<Axis>, 4, Form>>()));
}

const std::vector<TStatKind>& matrixKinds()
{
    static const std::vector<TStatKind> kinds = [] {
        constexpr unsigned N = FlagN;
        std::vector<TStatKind> k = {
            kind(25, "TstColumns", "COLS", "Столбцы матрицы (не пустые)", N, false, true,
                 GroupKindFactory<TstColumns>()),
            kind(26, "TstRows", "ROWS", "Строки матрицы (не пустые)", N, false, true, GroupKindFactory<TstRows>()),
            kind(27, "TstColValues", "COLV", "Количество чисел в столбце матрицы", N, false, false,
                 GroupKindFactory<TstColValues>()),
            kind(28, "TstRowValues", "ROWV", "Количество чисел в строке матрицы", N, false, false,
                 GroupKindFactory<TstRowValues>()),
            kind(29, "TstColCount", "COLN", "Количество не пустых столбцов в матрице", N, true, true,
                 GroupKindFactory<TstColCount>()),
            kind(30, "TstRowCount", "ROWN", "Количество не пустых строк в матрице", N, true, true,
                 GroupKindFactory<TstRowCount>()),
            kind(31, "TstColMask", "COLM", "Сочетания столбцов матрицы", N, false, true,
                 GroupKindFactory<TstColMask>()),
            kind(32, "TstRowMask", "ROWM", "Сочетания строк матрицы", N, false, true, GroupKindFactory<TstRowMask>()),
            kind(33, "TstColAjacent", "COLA", "Столбцы матрицы со смежными числами", N, false, true,
                 GroupKindFactory<TstColAjacent>()),
            kind(34, "TstRowAjacent", "ROWA", "Строки матрицы со смежными числами", N, false, true,
                 GroupKindFactory<TstRowAjacent>()),
            kind(35, "TstColAjacentCnt", "COLC", "Количество столбцов матрицы со смежными числами", N, true, true,
                 GroupKindFactory<TstColAjacentCnt>()),
            kind(36, "TstRowAjacentCnt", "ROWC", "Количество строк матрицы со смежными числами", N, true, true,
                 GroupKindFactory<TstRowAjacentCnt>()),
        };
        addTupleKinds<TAxis::Columns, TGroupTupleForm::Mix>(k, 84, {"TstCombColMix2", "TstCombColMix3", "TstCombColMix4"}, "KFM%d",
                                                             "Сочетания из %0:d столбцов по всем числам тиража");
        addTupleKinds<TAxis::Columns, TGroupTupleForm::Seq>(k, 87, {"TstCombColSeq2", "TstCombColSeq3", "TstCombColSeq4"}, "KFS%d",
                                                             "Сочетания из %0:d столбцов по соседним числам");
        addTupleKinds<TAxis::Rows, TGroupTupleForm::Mix>(k, 90, {"TstCombRowMix2", "TstCombRowMix3", "TstCombRowMix4"}, "KRM%d",
                                                          "Сочетания из %0:d строк по всем числам тиража");
        addTupleKinds<TAxis::Rows, TGroupTupleForm::Seq>(k, 93, {"TstCombRowSeq2", "TstCombRowSeq3", "TstCombRowSeq4"}, "KRS%d",
                                                          "Сочетания из %0:d строк по соседним числам");
        k.push_back(TStatKind({.Position = 105, .ClassName = "TstColValCnt", .Code = "COL%d",
                               .Caption = "Количество чисел в %0:d столбце матрицы", .HelpCode = "COLx",
                               .Group = MatrixGroup, .Flags = N, .Graph = true, .HasParam = true,
                               .ParamRange = columnParamRange, .Create = GroupKindFactory<TstColValCnt>()}));
        k.push_back(TStatKind({.Position = 106, .ClassName = "TstRowValCnt", .Code = "ROW%d",
                               .Caption = "Количество чисел в %0:d строке матрицы", .HelpCode = "ROWx",
                               .Group = MatrixGroup, .Flags = N, .Graph = true, .HasParam = true,
                               .ParamRange = rowParamRange, .Create = GroupKindFactory<TstRowValCnt>()}));
        return k;
    }();
    return kinds;
}

} // namespace

void AddMatrixKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : matrixKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds
