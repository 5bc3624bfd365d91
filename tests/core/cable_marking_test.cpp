#include "cable_marking.h"

#include <gtest/gtest.h>

#include <string>

using namespace wirelark;

namespace {

const char* const kCvTrefoil = "600V CV及びEM 600V CE/F単心 S＝俵積み";
const char* const kIvTouching = "IV（2本（密着）及び3本俵積）";
const char* const kVvf = "VVF";
const char* const kEmFpFlat = "600V EM－FP平形";

struct MarkCase {
    const char* name;
    const char* group;
    const char* system;
    Frequency frequency;
    const char* factor;  // Edit1 as the user leaves it; empty: the reduction of one cable
    const char* current;
    const char* length;
    const char* powerFactor;
    const char* allowableDrop;
    const char* proposed;  // size label of the proposal; empty: none
};

CableSelection openedFor(const MarkCase& c) {
    CableSelection d;
    d.preselectFirstGroup();
    d.activate({Caller::FeederDialog, "気中暗渠配線", "H=600", c.system, c.frequency});
    d.selectGroup(c.group);
    if (*c.factor != '\0') {
        EXPECT_TRUE(d.editFactor(c.factor).ok());
    }
    return d;
}

CableRequest requestFor(const MarkCase& c) {
    CableRequest q;
    q.context = {Caller::FeederDialog, "気中暗渠配線", "H=600", c.system, c.frequency};
    q.designCurrent = c.current;
    q.length = c.length;
    q.powerFactor = c.powerFactor;
    q.allowableDrop = c.allowableDrop;
    return q;
}

std::string proposedSize(const CableSelection& d, const SizeMarks& m) {
    if (!m.recommendedRow)
        return "";
    return d.impedanceGrid()[static_cast<std::size_t>(*m.recommendedRow)][0];
}

const SizeMark* markOf(const CableSelection& d, const SizeMarks& m, std::string_view size) {
    for (const SizeMark& s : m.rows)
        if (d.impedanceGrid()[static_cast<std::size_t>(s.gridRow)][0] == size)
            return &s;
    ADD_FAILURE() << "no mark for " << size;
    return nullptr;
}

TEST(CableMarking, ProposesTheSmallestSizeThatCarriesTheCurrentAndKeepsTheDrop) {
    const Frequency hz60 = Frequency::Hz60;
    const Frequency hz50 = Frequency::Hz50;
    const MarkCase cases[] = {
        // CV laid in air at 40 ℃: 150 A needs 38 mm² (190 A); 30 m drops 2.79 V of 3 V.
        {"short run: the current decides", kCvTrefoil, "単相3線", hz60, "", "150", "30", "0.95",
         "3", "38゜"},
        // 60 m: 38 mm² drops 5.57 V, 60 mm² 3.65 V, 100 mm² 2.29 V.
        {"long run: the drop decides", kCvTrefoil, "単相3線", hz60, "", "150", "60", "0.95", "3",
         "100゜"},
        {"three-phase drop with √3 against 6 V", kCvTrefoil, "三相3線", hz60, "", "150", "30",
         "0.95", "6", "38゜"},
        // 32.5 m: Z of 38 mm² is 0.619 at 60 Hz (3.02 V) but 0.613 at 50 Hz (2.99 V).
        {"60 Hz reactance tips 38 mm² over", kCvTrefoil, "単相3線", hz60, "", "150", "32.5", "0.95",
         "3", "60゜"},
        {"50 Hz reactance keeps 38 mm² within", kCvTrefoil, "単相3線", hz50, "", "150", "32.5",
         "0.95", "3", "38゜"},
        // Half the current allowed: 38 mm² 95 A, 60 mm² 128 A, 100 mm² 178 A.
        {"grouping reduction halves what each size carries", kCvTrefoil, "単相3線", hz60, "0.5",
         "150", "30", "0.95", "3", "100゜"},
        {"no power factor: the current alone decides", kCvTrefoil, "単相3線", hz60, "", "150", "60",
         "", "3", "38゜"},
        {"no allowable drop: the current alone decides", kCvTrefoil, "単相3線", hz60, "", "150",
         "60", "0.95", "", "38゜"},
        {"an unknown system gives no drop to judge", kCvTrefoil, "単相5線", hz60, "", "150", "60",
         "0.95", "3", "38゜"},
        // IV at cos θ = 1: 2.0 mm drops 2.62 V, 3.5 mm² 2.41 V, 2.6 mm (R 3.88) 1.55 V and
        // 5.5 mm² (R 3.85) 1.54 V: the 2.6 mm wire is the thinner of the two that pass.
        {"IV by diameter and by section: the thinner wire", kIvTouching, "単相2線", hz60, "", "20",
         "10", "1", "2", "2.6mm"},
        {"IV with room for the drop: 2.0 mm carries 24 A", kIvTouching, "単相2線", hz60, "", "20",
         "10", "1", "3", "2.0mm"},
        // 1.6-2C carries 18 A and drops 1.65 V at K = 1, but a three-wire circuit needs 3 cores.
        {"three-wire circuit: only three-core VVF", kVvf, "単相3線", hz60, "", "16", "10", "1", "3",
         "2.0-3C"},
        {"two-wire circuit: 1.6-2C drops 3.30 V", kVvf, "単相2線", hz60, "", "16", "10", "1", "3",
         "2.0-2C"},
        {"no size carries 2000 A", kCvTrefoil, "単相3線", hz60, "", "2000", "10", "0.95", "3", ""},
        {"flat EM-FP has no allowable currents to judge", kEmFpFlat, "単相2線", hz60, "", "10",
         "10", "1", "3", ""},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CableSelection d = openedFor(c);
        const SizeMarks m = markSizes(d, requestFor(c));
        EXPECT_TRUE(m.active);
        EXPECT_EQ(proposedSize(d, m), c.proposed);
        int recommended = 0;
        for (const SizeMark& s : m.rows)
            recommended += s.recommended ? 1 : 0;
        EXPECT_EQ(recommended, *c.proposed == '\0' ? 0 : 1);
    }
}

TEST(CableMarking, EachSizeTellsWhyItFails) {
    const MarkCase c{"", kCvTrefoil, "単相3線", Frequency::Hz60, "", "150", "60", "0.95", "3", ""};
    const CableSelection d = openedFor(c);
    const SizeMarks m = markSizes(d, requestFor(c));
    ASSERT_EQ(m.rows.size(), 16u);

    const SizeMark* small = markOf(d, m, "22゜");  // 130 A
    ASSERT_TRUE(small);
    EXPECT_TRUE(small->belowDesignCurrent);
    EXPECT_EQ(small->allowableCurrent, "130");

    const SizeMark* far = markOf(d, m, "38゜");  // 190 A, but Z 0.619 over 60 m
    ASSERT_TRUE(far);
    EXPECT_FALSE(far->belowDesignCurrent);
    EXPECT_EQ(far->drop, "5.57");
    EXPECT_TRUE(far->dropTooLarge);

    const SizeMark* good = markOf(d, m, "100゜");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->drop, "2.29");
    EXPECT_FALSE(good->dropTooLarge);
    EXPECT_TRUE(good->recommended);
}

TEST(CableMarking, WithoutCurrentOrLengthNothingIsMarked) {
    const struct {
        const char* name;
        const char* current;
        const char* length;
    } cases[] = {
        {"no design current yet", "", "30"},
        {"no length yet", "150", ""},
        {"a length that is not a number", "150", "30m"},
        {"a zero length", "150", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MarkCase mc{"",     kCvTrefoil, "単相3線", Frequency::Hz60, "", c.current, c.length,
                          "0.95", "3",        ""};
        const CableSelection d = openedFor(mc);
        const SizeMarks m = markSizes(d, requestFor(mc));
        EXPECT_FALSE(m.active);
        EXPECT_TRUE(m.rows.empty());
        EXPECT_FALSE(m.recommendedRow);
    }
}

TEST(CableMarking, JudgingTheSizesChangesNothingTheUserSees) {
    // A buried conduit at 300 mm presets the ground temperature on every click; judging the
    // rows must not click them.
    CableSelection d;
    d.preselectFirstGroup();
    const CallerContext shallow{Caller::FeederDialog, "地中保護管配線", "H=300", "単相3線",
                                Frequency::Hz60};
    d.activate(shallow);
    d.selectGroup(kCvTrefoil);
    ASSERT_TRUE(d.chooseInstallationTemperature("45").ok());
    const CableSelection before = d;

    CableRequest q;
    q.context = shallow;
    q.designCurrent = "100";
    q.length = "20";
    q.powerFactor = "0.9";
    q.allowableDrop = "3";
    const SizeMarks m = markSizes(d, q);
    ASSERT_TRUE(m.active);

    EXPECT_EQ(d.installationTemperatureText(), before.installationTemperatureText());
    EXPECT_EQ(d.clickedRow(), before.clickedRow());
    EXPECT_EQ(d.sizeText(), before.sizeText());
    EXPECT_EQ(d.windowCaption(), before.windowCaption());
    EXPECT_EQ(d.allowableGrid(), before.allowableGrid());
    // What is marked is what the double-click hands back: the click's 30 ℃ ground preset.
    const auto handed = d.handBackOf(m.rows[6].gridRow);
    ASSERT_TRUE(handed);
    EXPECT_EQ(m.rows[6].allowableCurrent, handed->allowableCurrent);
}

}  // namespace
