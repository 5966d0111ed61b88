#include <gtest/gtest.h>

#include <set>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/stats/catalogue.h"
#include "core/stats/statlist.h"

using namespace kv;
using namespace kv::stats;

namespace {

TStatKind kindAt(int position, const char* className, const char* code)
{
    return TStatKind({.Position = position, .ClassName = className, .Code = code, .Caption = "x"});
}

} // namespace

TEST(Catalogue, EveryKindInCatalogueOrder)
{
    // Spot checks across every family; positions run 1..143 without a gap.
    struct Row {
        int position;
        const char* code;
        const char* className;
    };
    const std::vector<Row> expected = {
        {1, "NUMS", "TstValues"},        {8, "PRMV", "TstPrimeValues"},     {9, "SUMS", "TstSumValues"},
        {10, "SUM%d", "TstSumRanges"},   {17, "DIFA", "TstDiffTotal"},      {22, "CHAN", "TstChannels"},
        {25, "COLS", "TstColumns"},      {37, "SGMS", "TstSegments"},       {40, "SEQL", "TstSequenceLen"},
        {43, "RPV2", "TstRepValues2"},   {49, "PRV+1", "TstRepValues2P1"},  {63, "KNM2", "TstCombValMix2"},
        {72, "KNO2", "TstCombValSort2"}, {75, "KDS2", "TstCombDiffSeq2"},   {101, "KGS4", "TstCombSegmSeq4"},
        {102, "POS%d", "TstPosVal"},     {103, "POE%d", "TstPosExt"},       {108, "GRPV", "TstNumGroups"},
        {114, "PRDV", "TstNumPeriods"},  {139, "SS3C%d", "TstChain3SgmCnt"}, {140, "KRL1", "TstKarvel1"},
        {143, "SHR%d", "TstShreddingStat"},
    };
    const auto& kinds = Catalogue();
    ASSERT_EQ(kinds.size(), 143u);
    for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(kinds[i]->Position(), static_cast<int>(i) + 1);
    for (const Row& r : expected) {
        SCOPED_TRACE(r.code);
        const TStatKind* k = kinds[static_cast<std::size_t>(r.position - 1)];
        EXPECT_EQ(k->GetCode(), r.code);
        EXPECT_STREQ(k->ClassName(), r.className);
    }
    EXPECT_EQ(&Catalogue(), &kinds) << "one list for the whole run";
}

TEST(Catalogue, DefaultSettingsGive227MethodsFrom140Kinds)
{
    TStatList list;
    list.BuildMethodList();
    EXPECT_EQ(list.MethodCount(), 227);
    std::set<const TStatKind*> kinds;
    for (int i = 0; i < list.MethodCount(); ++i) kinds.insert(list.Method(i).Kind);
    EXPECT_EQ(kinds.size(), 140u) << "the three sorted-tuple kinds are never registered";
    for (const char* code : {"KNO2", "KNO3", "KNO4"}) EXPECT_EQ(list.FindMethod(code), -1) << code;
    // The number family opens the list; the parameters of POS run 1..8.
    const std::vector<std::string> first = {"NUMS", "DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM", "PRMV", "SUMS",
                                            "SUM1", "SUM2", "SUM3"};
    for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(list.Method(static_cast<int>(i)).MethodCode(), first[i]);
    const int pos1 = list.FindMethod("POS1");
    ASSERT_GE(pos1, 0);
    for (int p = 1; p <= 8; ++p) EXPECT_EQ(list.Method(pos1 + p - 1).MethodCode(), "POS" + std::to_string(p));
    EXPECT_EQ(list.Method(list.MethodCount() - 1).MethodCode(), "SHR3");
    std::set<std::string> codes;
    for (int i = 0; i < list.MethodCount(); ++i) EXPECT_TRUE(codes.insert(list.Method(i).MethodCode()).second);
}

TEST(Catalogue, SortedByPositionWithEqualCodesAndPositionsRefused)
{
    const TStatKind a = kindAt(3, "TstA", "AAAA");
    const TStatKind b = kindAt(1, "TstB", "BB%d");
    const TStatKind c = kindAt(2, "TstC", "CCCC");
    const auto sorted = SortedCatalogue({&a, &b, &c});
    EXPECT_EQ(sorted, (std::vector<const TStatKind*>{&b, &c, &a}));
    EXPECT_TRUE(SortedCatalogue({}).empty());

    const TStatKind samePosition = kindAt(2, "TstD", "DDDD");
    const TStatKind sameCode = kindAt(9, "TstE", "BB%d");
    struct Case {
        const char* name;
        std::vector<const TStatKind*> kinds;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"position", {&a, &b, &c, &samePosition}, "statistic kinds TstC and TstD share catalogue position 2"},
        {"code", {&a, &sameCode, &b}, "statistic kinds TstB and TstE share the code BB%d"},
        {"same kind twice", {&a, &a}, "statistic kinds TstA and TstA share catalogue position 3"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        try {
            SortedCatalogue(k.kinds);
            ADD_FAILURE() << "no exception";
        } catch (const std::logic_error& e) {
            EXPECT_STREQ(e.what(), k.message);
        }
    }
}
