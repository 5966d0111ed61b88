#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/game/types.h"
#include "core/stats/config.h"
#include "core/stats/statgroup.h"
#include "core/stats/statitem.h"

namespace kv::stats {

// Flag bits of a kind, with their display letters "S", "N", "D", "P", "G" in bit order.
enum TStatFlag : unsigned {
    FlagS = 1u << 0,  // the value depends on the order of the numbers inside the draw
    FlagN = 1u << 1,  // a full-set distribution exists (prefetch cache)
    FlagD = 1u << 2,  // compares a draw with the reference draw (the last of the window)
    FlagP = 1u << 3,  // a period kind
    FlagG = 1u << 4,  // charted
};
std::string FlagLetters(unsigned flags);

// "num", "sum", ... for 0..12; empty outside.
std::string_view GroupId(int group);
std::string_view GroupCaption(int group);
// "{ num } Числа тиража"; "#ERROR#" outside 0..12.
std::string GroupName(int group);
// The help page of a family ("sums.html") and the anchor of a kind on it: the help code with
// "x" for its parameter ("SUM%d" -> "SUMx").
std::string StatHelpPage(TStatGroup group, std::string_view helpCode);
std::string StatHelpAnchor(std::string_view helpCode);

// One filter pass: the window's last draw, the draws' order and whether matches are deleted.
struct TMatchPass {
    int LastIndex = 0;
    bool Sorted = false;
    bool Exclude = false;
};

class TCustomStat;

// What statistic instances read from their registry: the draws archive (never changed by an
// instance), the engine settings and the help file's path (empty when there is none).
struct TStatEnv {
    const game::TDrawsArray* Draws = nullptr;
    TConfigData Config;
    TShreddingData Shredding;
    std::string HelpFile;
};

// The kind face of a statistic: everything that needs no instance. One static descriptor per
// kind; the registry keeps only these and creates instances through Create.
class TStatKind {
public:
    using Factory = std::function<std::unique_ptr<TCustomStat>(const TStatKind&, const TStatEnv&, int32_t)>;
    using RangeFn = std::function<std::pair<int, int>(const TConfigData&)>;

    struct Info {
        int Position = 0;               // place in the catalogue (registration order), 1-based
        const char* ClassName = "";     // "TstValues"
        const char* Code = "";          // code template: "NUMS", "POS%d"
        const char* Caption = "";       // caption template, possibly with "%0:d" / "%d"
        const char* HelpCode = nullptr; // help page code when it differs from Code ("POSx")
        TStatGroup Group = GroupNumbers;
        unsigned Flags = 0;             // GetFlags (without the G that IsGraph adds)
        bool Graph = false;             // IsGraph
        bool NumericValue = true;       // HasNumericValue
        bool Available = true;          // IsAvailable
        bool HasParam = false;
        RangeFn ParamRange{};           // (First, Last) when HasParam
        Factory Create{};
        // FormatCaption for a caption that takes more than the parameter ("SUM%d" adds the
        // fraction its range covers); empty: the template formatted with the parameter.
        std::function<std::string(int32_t)> CaptionFormat{};
    };

    explicit TStatKind(Info info) : m_info(std::move(info)) {}

    int Position() const { return m_info.Position; }
    const char* ClassName() const { return m_info.ClassName; }
    std::string GetCode() const { return m_info.Code; }
    std::string GetCaption() const { return m_info.Caption; }
    std::string GetHelpCode() const { return m_info.HelpCode ? m_info.HelpCode : m_info.Code; }
    TStatGroup GetGroup() const { return m_info.Group; }
    unsigned GetFlags() const { return m_info.Flags; }
    unsigned GetMethodFlags() const { return m_info.Flags | (m_info.Graph ? FlagG : 0u); }
    std::string FormatCode(int32_t param) const;      // "POS%d", 3 -> "POS3"; no "%d": unchanged
    std::string FormatCaption(int32_t param) const;
    // "ms-its:<help file>::/Filters_1049_<help code>.htm"; empty without a help file.
    // The description of the kind in the help whose contents page is helpFile: its family's page
    // with the kind's anchor ("file:///.../sums.html#SUMx"); empty without help.
    std::string GetHelpURL(int32_t param, const std::string& helpFile) const;
    bool IsAvailable() const { return m_info.Available; }
    bool IsListed() const { return true; }
    bool IsGraph() const { return m_info.Graph; }
    bool HasPrefetch() const { return (m_info.Flags & FlagN) != 0; }
    bool HasNumericValue() const { return m_info.NumericValue; }
    bool HasParam() const { return m_info.HasParam; }
    std::pair<int, int> GetParamRange(const TConfigData& config) const;

    std::unique_ptr<TCustomStat> Create(const TStatEnv& env, int32_t param) const;

private:
    Info m_info;
};

// A statistic instance: created for one method (kind and parameter), used for one calculation
// and freed by the caller.
class TCustomStat {
public:
    TCustomStat(const TStatKind& kind, const TStatEnv& env, int32_t param);
    virtual ~TCustomStat() = default;
    TCustomStat(const TCustomStat&) = delete;
    TCustomStat& operator=(const TCustomStat&) = delete;

    const TStatKind& Kind() const { return m_kind; }
    const TStatEnv& Env() const { return m_env; }
    int32_t Param() const { return m_param; }
    std::string GetName() const { return m_kind.FormatCaption(m_param); }

    virtual std::string ValueToText(const TStatDrawItem& value) const = 0;
    // The order of the values in tables, charts and the full-set distribution.
    virtual TKeyOrder KeyOrder() const { return TKeyOrder::Keys; }
    virtual int32_t TextToValue(std::string_view text) const;
    int32_t ParseValue(std::string_view text) const;

    // Adds every value the kind can produce with Count 0 (kinds with a closed value range).
    virtual void ListValues(int lastIndex, TStatDrawArray& values);
    // CurDraw := draw index (zeros outside the archive), sorted when asked; for D kinds the same
    // with refIndex into RefDraw.
    void LoadDraws(int index, int refIndex, bool sorted);
    // The values of one combination of the full set (no periods).
    virtual void CalcComb(const game::TComb& comb, TStatDrawArray& values);
    // The full-set pass over many combinations; the default calls CalcComb for each. Kinds on
    // the hot path count directly and emit the values in the same first-seen order.
    virtual void CalcCombs(std::span<const game::TComb> combs, TStatDrawArray& values);
    // The values of draw index within the window ending at lastIndex (periods tracked).
    virtual void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values,
                          TLastValueArray& lastValues, TWorkArea& work);
    // The draw number of the first draw from fromIndex to the end of the archive that shows the
    // value; -1 when none.
    int32_t FindValueDraw(const TStatDrawItem& value, int fromIndex, int lastIndex, bool sorted);
    // True when the combination shows one of the marked values. Call LoadDraws(-1, lastIndex,
    // sorted) first (the filter pass does).
    virtual bool CombMatches(const game::TComb& comb, const TStatDrawArray& marked, int lastIndex,
                             bool sorted, bool exclude) = 0;
    // The filter pass over many combinations: result[i] = CombMatches(combs[i], ...).
    void MatchCombs(std::span<const game::TComb> combs, const TStatDrawArray& marked, const TMatchPass& pass,
                    std::vector<uint8_t>& result)
    {
        MatchBatch(combs, marked, pass.LastIndex, pass.Sorted, pass.Exclude, result);
    }
    // MatchCombs' work: kinds on the hot path override it to avoid a virtual call per combination.
    virtual void MatchBatch(std::span<const game::TComb> combs, const TStatDrawArray& marked, int lastIndex,
                            bool sorted, bool exclude, std::vector<uint8_t>& result);

    // Charted kinds (IsGraph): the number charted for these 8 numbers; 0 for other kinds.
    virtual int32_t GetGraphValue(const game::TComb& numbers, int index, int lastIndex, bool sorted);
    // Draw index (sorted when asked) through GetGraphValue.
    int32_t GetDrawGraphValue(int index, int lastIndex, bool sorted);

    // The instance state that the kinds work on.
    game::TDraw CurDraw{};
    game::TDraw RefDraw{};
    TStatDrawItem Cur{};

protected:
    const game::TDrawsArray& Draws() const { return *m_env.Draws; }
    // Adds Cur for a draw (periods on) or a combination (periods off).
    void AddCur(TStatDrawArray& values, bool trackPeriods) { AddStatDraw(values, Cur, trackPeriods); }

private:
    const TStatKind& m_kind;
    const TStatEnv& m_env;
    int32_t m_param;
};

// The value is a lottery number: Key[0] in decimal.
class TCustomValuesStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueToText(const TStatDrawItem& value) const override;
};

// The value is a count or another integer: Key[0] in decimal.
class TCustomNumbersStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueToText(const TStatDrawItem& value) const override;
};

// Charted kinds: Key[0] in decimal.
class TCustomGraphStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueToText(const TStatDrawItem& value) const override;
    int32_t GetGraphValue(const game::TComb& numbers, int index, int lastIndex, bool sorted) override = 0;
};

// A count k of a number class among the 8 numbers, shown "k:8-k".
class TCustomRatioStat : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    std::string ValueToText(const TStatDrawItem& value) const override;
    int32_t TextToValue(std::string_view text) const override;
};

// 8-bit masks shown as 8 letters (bit 7 first) and the mask in three digits: "нЧЧЧЧЧЧЧ (128)".
class TCustomMaskStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueToText(const TStatDrawItem& value) const override;
    int32_t TextToValue(std::string_view text) const override;
    void ListValues(int lastIndex, TStatDrawArray& values) override; // all 256 masks
    virtual std::string_view GetZeroLetter() const = 0;
    virtual std::string_view GetOneLetter() const = 0;
};

// Every kind of every family, in catalogue order. Families add their kinds in kinds/*.cpp.
const std::vector<const TStatKind*>& Catalogue();

} // namespace kv::stats
