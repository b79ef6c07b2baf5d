// Node texts and reading them back: the tree's only link to the tables.
#include <gtest/gtest.h>

#include "node_text.h"

TEST(NodeText, BuildsTheThreeKinds) {
    EXPECT_EQ(PdNodeText(250), "ПД:250");
    EXPECT_EQ(BcNodeText(238), "БС:238");
    EXPECT_EQ(AlNodeText(3, 346), "АЛ:3:Зона:346");
    EXPECT_EQ(AlNodeText(16, 0), "АЛ:16:Зона:0");
}

TEST(NodeText, KindTestedInOrder) {
    struct {
        const char *text;
        NodeKind kind;
    } rows[] = {
        {"ПД:250", NodeKind::Pd},
        {"БС:238", NodeKind::Bc},
        {"АЛ:3:Зона:346", NodeKind::Al},
        {"", NodeKind::None},
        {"Зона:5", NodeKind::None},
        {"БС:ПД:", NodeKind::Pd}, // "ПД:" is looked for first
    };
    for (const auto &r : rows)
        EXPECT_EQ(NodeKindOfText(r.text), r.kind) << r.text;
}

TEST(NodeText, NumberAfterPrefixStopsAtFirstNonDigit) {
    EXPECT_EQ(NumberAfterPrefix("БС:238", "БС:"), 238);
    EXPECT_EQ(NumberAfterPrefix("АЛ:12:Зона:346", "АЛ:"), 12);
    EXPECT_EQ(NumberAfterPrefix("АЛ::Зона:346", "АЛ:"), 0) << "the zone number must not be taken";
    EXPECT_EQ(NumberAfterPrefix("ПД:250", "БС:"), 0);
}
