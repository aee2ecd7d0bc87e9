#include "SplitPlan.h"
#include "SplitExport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<float> expectedPoints(std::initializer_list<double> fractions) {
    std::vector<float> points;
    for (double f : fractions)
        points.push_back(float(f));
    return points;
}

void expectPoints(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "point " << i;
}

} // namespace

TEST(SplitPlan, StepIsReadFromThePopUpTitle) {
    struct Case {
        const char* title;
        float step;
    };
    const Case cases[] = {{"5 secs", 5},    {"10 MB", 10},    {"0.5", 0.5f}, {".5", 5},  {"-5", 5},
                          {"2.5 MB", 2.5f}, {"Custom...", 0}, {"", 0},       {"abc", 0}, {"60 secs", 60}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(SplitPlan::stepFromTitle(QString::fromUtf8(c.title)), c.step) << c.title;
}

TEST(SplitPlan, ByStepPlacesPointsAtEveryStep) {
    struct Case {
        float step;
        float total;
        std::vector<float> points;
    };
    const Case cases[] = {
        {10, 60, expectedPoints({10 / 60.0, 20 / 60.0, 30 / 60.0, 40 / 60.0, 50 / 60.0})}, // exactly five, none at 1
        {10, 60.5f, expectedPoints({10 / 60.5, 20 / 60.5, 30 / 60.5, 40 / 60.5, 50 / 60.5, 60 / 60.5})},
        {60, 60, {}},  // a step as long as the file: one piece
        {90, 60, {}},  // longer than the file
        {5, 3.2f, {}}, // size total below the step
        {2.5f, 10, expectedPoints({0.25, 0.5, 0.75})},
        {1, 2.5f, expectedPoints({0.4, 0.8})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << " total " << c.total);
        SplitPlan::Result result = SplitPlan::byStep(c.step, c.total);
        EXPECT_TRUE(result.ok());
        EXPECT_EQ(result.pieceCount, qint64(c.points.size()) + 1);
        expectPoints(result.points, c.points);
    }
}

TEST(SplitPlan, EqualPartsPlacesPointsAtEveryPart) {
    struct Case {
        float count;
        std::vector<float> points;
    };
    const Case cases[] = {
        {4, expectedPoints({0.25, 0.5, 0.75})},
        {4.5f, expectedPoints({1 / 4.5, 2 / 4.5, 3 / 4.5, 4 / 4.5})}, // five pieces, the last shorter
        {2, expectedPoints({0.5})},
        {1, {}},
        {0.5f, {}},
        {3, expectedPoints({1 / 3.0, 2 / 3.0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "count " << c.count);
        SplitPlan::Result result = SplitPlan::equalParts(c.count);
        EXPECT_TRUE(result.ok());
        expectPoints(result.points, c.points);
    }
}

TEST(SplitPlan, RefusesStepsCountsAndPlansThatCannotBeWritten) {
    struct Case {
        const char* what;
        SplitPlan::Result result;
        SplitPlan::Refusal refusal;
    };
    const Case cases[] = {
        {"step 0", SplitPlan::byStep(0, 60), SplitPlan::Refusal::StepNotPositive},
        {"negative step", SplitPlan::byStep(-5, 60), SplitPlan::Refusal::StepNotPositive},
        {"step not a number", SplitPlan::byStep(std::nanf(""), 60), SplitPlan::Refusal::StepNotPositive},
        {"count 0", SplitPlan::equalParts(0), SplitPlan::Refusal::CountNotPositive},
        {"negative count", SplitPlan::equalParts(-3), SplitPlan::Refusal::CountNotPositive},
        {"tiny step on a long file", SplitPlan::byStep(0.01f, 7200), SplitPlan::Refusal::TooManyPieces},
        {"huge count", SplitPlan::equalParts(100000), SplitPlan::Refusal::TooManyPieces},
        {"count just over the cap", SplitPlan::equalParts(SplitPlan::kMaxPieces + 0.5f),
         SplitPlan::Refusal::TooManyPieces},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result.refusal, c.refusal);
        EXPECT_TRUE(c.result.points.empty());
        EXPECT_FALSE(SplitPlan::refusalKey(c.refusal).isEmpty());
        EXPECT_FALSE(SplitPlan::refusalMessage(c.refusal).isEmpty());
    }
    // The cap itself is allowed, and the message names it.
    EXPECT_TRUE(SplitPlan::equalParts(SplitPlan::kMaxPieces).ok());
    EXPECT_EQ(SplitPlan::equalParts(SplitPlan::kMaxPieces).points.size(), size_t(SplitPlan::kMaxPieces - 1));
    EXPECT_TRUE(
        SplitPlan::refusalMessage(SplitPlan::Refusal::TooManyPieces).contains(QString::number(SplitPlan::kMaxPieces)));
}

TEST(SplitPlan, ManualPointsMustLieInsideTheFileAndApart) {
    const qint64 duration = 100000000; // 100 s
    const std::vector<float> existing{0.25f, 0.5f};
    struct Case {
        float point;
        SplitPlan::Refusal refusal;
    };
    const Case cases[] = {{0.75f, SplitPlan::Refusal::None},          {0.0f, SplitPlan::Refusal::PointOutside},
                          {1.0f, SplitPlan::Refusal::PointOutside},   {-0.1f, SplitPlan::Refusal::PointOutside},
                          {1.2f, SplitPlan::Refusal::PointOutside},   {0.5f, SplitPlan::Refusal::PointDuplicate},
                          {0.25f, SplitPlan::Refusal::PointDuplicate}};
    for (const Case& c : cases)
        EXPECT_EQ(SplitPlan::checkManualPoint(c.point, existing, duration), c.refusal) << c.point;

    std::vector<float> full;
    for (int i = 1; i < SplitPlan::kMaxPieces; ++i)
        full.push_back(float(i) / float(SplitPlan::kMaxPieces + 1));
    EXPECT_EQ(SplitPlan::checkManualPoint(0.9999f, full, duration), SplitPlan::Refusal::TooManyPieces);
}

TEST(SplitPlan, PiecesRunFromPointToPointAndSkipEmptyOnes) {
    struct Case {
        const char* what;
        std::vector<float> progresses;
        double duration;
        std::vector<SplitPlan::Piece> pieces;
    };
    const Case cases[] = {
        {"empty plan: the whole file", {1.0f}, 100.0, {{0, 100000000}}},
        {"quarters of 100 s",
         {0.25f, 0.5f, 0.75f, 1.0f},
         100.0,
         {{0, 25000000}, {25000000, 50000000}, {50000000, 75000000}, {75000000, 100000000}}},
        {"duplicate point", {0.5f, 0.5f, 1.0f}, 10.0, {{0, 5000000}, {5000000, 10000000}}},
        {"points at the ends", {0.0f, 0.5f, 1.0f, 1.0f}, 10.0, {{0, 5000000}, {5000000, 10000000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<SplitPlan::Piece> pieces = SplitPlan::pieces(c.progresses, c.duration);
        ASSERT_EQ(pieces.size(), c.pieces.size());
        for (size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].startUs, c.pieces[i].startUs) << i;
            EXPECT_EQ(pieces[i].stopUs, c.pieces[i].stopUs) << i;
        }
    }
}

TEST(SplitPlan, SizeModeSpeaksOneMegabyte) {
    // The plan's total and the export's limit use the same unit: a step of 5 is 5 x 1,048,576 bytes in both.
    EXPECT_EQ(SplitPlan::sizeLimitBytes(5), 5242880);
    EXPECT_FLOAT_EQ(SplitPlan::sizeTotal(5242880.0 * 4), 20.0f);
    SplitPlan::Result result = SplitPlan::byStep(5, SplitPlan::sizeTotal(5242880.0 * 4));
    expectPoints(result.points, expectedPoints({0.25, 0.5, 0.75}));
}

TEST(SplitPlan, ProgressRisesEvenlyOverThePieces) {
    EXPECT_FLOAT_EQ(SplitPlan::overallProgress(1, 4, 50), 0.375f); // piece 2 of 4 at 50 %
    EXPECT_FLOAT_EQ(SplitPlan::overallProgress(0, 1, 100), 1.0f);
    EXPECT_FLOAT_EQ(SplitPlan::overallProgress(0, 0, 50), 0.0f);
    EXPECT_FLOAT_EQ(SplitPlan::sizeModeProgress(5000000, 10000000, 50), 0.75f);
    EXPECT_FLOAT_EQ(SplitPlan::sizeModeProgress(0, 10000000, 0), 0.0f);
}

TEST(SplitExport, SplitPointsMoveToTheNextPictureStart) {
    struct Case {
        qint64 pointUs;
        double fps;
        qint64 expected;
    };
    const Case cases[] = {
        {0, 30, 0},                    // the file's start
        {1'000'000, 30, 1'000'000},    // on a picture's start
        {3'066'667, 30, 3'066'667},    // on one, rounded to the microsecond
        {3'070'000, 30, 3'100'000},    // inside picture 92: the piece after starts with picture 93
        {1'166'667, 20, 1'200'000},    // a third of 3.5 s at 20 fps
        {1'234'567, 0, 1'234'567},     // no rate known: left as it is
        {1'010'000, 29.97, 1'034'368}, // inside picture 30 at about 29.97
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitExport::pictureBoundary(c.pointUs, c.fps), c.expected) << c.pointUs << " at " << c.fps;
}
