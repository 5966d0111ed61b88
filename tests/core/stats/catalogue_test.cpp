#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/stats/catalogue.h"
#include "core/stats/statlist.h"

using namespace kv;
using namespace kv::stats;

namespace {

std::vector<std::string> methodCodes(const TStatList& list)
{
    std::vector<std::string> codes;
    for (int i = 0; i < list.MethodCount(); ++i) codes.push_back(list.Method(i).MethodCode());
    return codes;
}

TStatKind kindAt(int position, const char* className, const char* code)
{
    return TStatKind({.Position = position, .ClassName = className, .Code = code, .Caption = "x"});
}

} // namespace

TEST(Catalogue, KindsOfTheNumberFamilyInCatalogueOrder)
{
    struct Row {
        int position;
        const char* code;
        const char* className;
    };
    const std::vector<Row> expected = {
        {1, "NUMS", "TstValues"},      {2, "DIGS", "TstDigits"},     {3, "EVEN", "TstEvenCount"},
        {4, "EVNV", "TstEvenValues"},  {5, "SMAL", "TstSmallCount"}, {6, "SMLV", "TstSmallValues"},
        {7, "PRIM", "TstPrimeCount"},  {8, "PRMV", "TstPrimeValues"}, {102, "POS%d", "TstPosVal"},
        {103, "POE%d", "TstPosExt"},
    };
    const auto& kinds = Catalogue();
    ASSERT_EQ(kinds.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].code);
        EXPECT_EQ(kinds[i]->Position(), expected[i].position);
        EXPECT_EQ(kinds[i]->GetCode(), expected[i].code);
        EXPECT_STREQ(kinds[i]->ClassName(), expected[i].className);
    }
    EXPECT_EQ(&Catalogue(), &kinds) << "one list for the whole run";
}

TEST(Catalogue, DefaultMethodListHasSeventeenMethods)
{
    TStatList list;
    list.BuildMethodList();
    EXPECT_EQ(methodCodes(list),
              (std::vector<std::string>{"NUMS", "DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM", "PRMV", "POS1",
                                        "POS2", "POS3", "POS4", "POS5", "POS6", "POS7", "POS8", "POE1"}));
    for (int i = 0; i < list.MethodCount(); ++i) {
        const TStatMethod& m = list.Method(i);
        SCOPED_TRACE(m.MethodCode());
        EXPECT_TRUE(m.Favorite);
        EXPECT_TRUE(m.CustomCaption.empty());
        EXPECT_TRUE(m.Formula.empty());
        EXPECT_EQ(m.Param, i >= 8 && i < 16 ? i - 7 : (i == 16 ? 1 : 0));
    }
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
