// How each translator turns a retrieved answer into a node value.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "retrieval/choice_translator.h"
#include "retrieval/retrieved_data.h"
#include "retrieval/simple_translators.h"
#include "retrieval/value_translators.h"

namespace {

// Translates and returns the value (-7 when untouched); `status` receives
// the result code.
float Translated(CDataTranslator &translator, CParamRecord *table, CRetrievedData &&record, int32_t &status) {
    float value = -7.0f;
    status = translator.Translate(table, &record, value);
    return value;
}

float Translated(CDataTranslator &translator, CParamRecord *table, CRetrievedData &&record) {
    int32_t status = -1;
    float value = Translated(translator, table, std::move(record), status);
    EXPECT_EQ(status, 0);
    return value;
}

CDTValueTable Table(std::vector<float> points, std::vector<float> probabilities) {
    return CDTValueTable(std::move(points), std::move(probabilities));
}

}  // namespace

TEST(Translation, ProbabilityAndDontKnow) {
    CDTProb prob;
    EXPECT_FLOAT_EQ(Translated(prob, nullptr, CRetrievedDataProb(0.8f, 0.3f, false)), 0.8f);
    EXPECT_FLOAT_EQ(Translated(prob, nullptr, CRetrievedDataProb(0.0f, 0.3f, true)), 0.3f);

    CDTDontKnow notKnown;
    EXPECT_FLOAT_EQ(Translated(notKnown, nullptr, CRetrievedDataDontKnow(0.42f)), 0.42f);

    // A record of another kind is refused and the value is left alone.
    int32_t status = 0;
    EXPECT_FLOAT_EQ(Translated(prob, nullptr, CRetrievedDataDontKnow(0.5f), status), -7.0f);
    EXPECT_EQ(status, 2);
    Translated(notKnown, nullptr, CRetrievedDataProb(0.5f, 0.5f, false), status);
    EXPECT_EQ(status, 2);
}

TEST(Translation, CertaintyFactorMovesTheAprioriValue) {
    CDTCertFactor cf;
    EXPECT_NEAR(Translated(cf, nullptr, CRetrievedDataCertFact(2.0f, 0.3f)), 0.58f, 1e-6);
    EXPECT_NEAR(Translated(cf, nullptr, CRetrievedDataCertFact(-2.0f, 0.3f)), 0.18f, 1e-6);
    EXPECT_FLOAT_EQ(Translated(cf, nullptr, CRetrievedDataCertFact(0.0f, 0.3f)), 0.3f);
    EXPECT_EQ(Translated(cf, nullptr, CRetrievedDataCertFact(5.0f, 0.3f)), 1.0f);
    EXPECT_EQ(Translated(cf, nullptr, CRetrievedDataCertFact(-5.0f, 0.3f)), 0.0f);

    // With an a-priori value of 0, negative factors give 0 and positive ones c / 5.
    for (int c = -5; c <= 5; ++c) {
        float expected = c < 0 ? 0.0f : static_cast<float>(0.2 * c);
        EXPECT_FLOAT_EQ(Translated(cf, nullptr, CRetrievedDataCertFact(static_cast<float>(c), 0.0f)), expected) << c;
    }
    // The arithmetic is double: the stored value is the double result rounded once.
    EXPECT_EQ(Translated(cf, nullptr, CRetrievedDataCertFact(3.0f, 0.1f)),
              static_cast<float>(double(0.1f) + (1.0 - double(0.1f)) * 0.6));
    // Tiny results are taken as 0.
    EXPECT_EQ(Translated(cf, nullptr, CRetrievedDataCertFact(-4.0f, 4e-8f)), 0.0f);
}

TEST(Translation, ValueClampsAtTheTableEnds) {
    CDTValue value;
    CDTValueTable table = Table({0, 10, 20}, {0.1f, 0.5f, 0.9f});
    const float expected[][2] = {{-3, 0.1f}, {0, 0.1f}, {5, 0.3f}, {10, 0.5f}, {15, 0.7f}, {20, 0.9f}, {25, 0.9f}};
    for (const auto &row : expected)
        EXPECT_NEAR(Translated(value, &table, CRetrievedDataValue(row[0], 0.3f, false)), row[1], 1e-6) << row[0];

    // Don't know gives the a-priori value whatever the table.
    EXPECT_FLOAT_EQ(Translated(value, &table, CRetrievedDataValue(15, 0.3f, true)), 0.3f);
    EXPECT_FLOAT_EQ(Translated(value, nullptr, CRetrievedDataValue(15, 0.3f, true)), 0.3f);

    // Equal consecutive points: the value at them takes the later segment.
    CDTValueTable step = Table({0, 10, 10, 20}, {0.0f, 0.2f, 0.6f, 1.0f});
    EXPECT_NEAR(Translated(value, &step, CRetrievedDataValue(10, 0.5f, false)), 0.6f, 1e-6);
    EXPECT_NEAR(Translated(value, &step, CRetrievedDataValue(5, 0.5f, false)), 0.1f, 1e-6);
    EXPECT_NEAR(Translated(value, &step, CRetrievedDataValue(15, 0.5f, false)), 0.8f, 1e-6);

    // A number without a table cannot be translated.
    int32_t status = 0;
    Translated(value, nullptr, CRetrievedDataValue(15, 0.3f, false), status);
    EXPECT_EQ(status, 2);
}

TEST(Translation, ValueExContinuesTheEndSegments) {
    CDTValueEx valuex;
    CDTValueTable table = Table({0, 10, 20}, {0.1f, 0.5f, 0.9f});
    const float expected[][2] = {{-5, 0.0f}, {-1, 0.06f}, {0, 0.1f}, {5, 0.3f}, {20, 0.9f}, {22, 0.98f}, {25, 1.0f}};
    for (const auto &row : expected)
        EXPECT_NEAR(Translated(valuex, &table, CRetrievedDataValue(row[0], 0.3f, false)), row[1], 1e-6) << row[0];
    EXPECT_FLOAT_EQ(Translated(valuex, &table, CRetrievedDataValue(25, 0.3f, true)), 0.3f);

    // Zero-width end segments give the nearer table end's probability.
    CDTValueTable flatStart = Table({0, 0, 10}, {0.2f, 0.4f, 0.8f});
    EXPECT_FLOAT_EQ(Translated(valuex, &flatStart, CRetrievedDataValue(-3, 0.5f, false)), 0.2f);
    EXPECT_NEAR(Translated(valuex, &flatStart, CRetrievedDataValue(5, 0.5f, false)), 0.6f, 1e-6);
    CDTValueTable flatEnd = Table({0, 10, 10}, {0.2f, 0.6f, 0.9f});
    EXPECT_FLOAT_EQ(Translated(valuex, &flatEnd, CRetrievedDataValue(12, 0.5f, false)), 0.9f);
    EXPECT_FLOAT_EQ(Translated(valuex, &flatEnd, CRetrievedDataValue(10, 0.5f, false)), 0.9f);
    CDTValueTable point = Table({4, 4}, {0.3f, 0.7f});
    EXPECT_FLOAT_EQ(Translated(valuex, &point, CRetrievedDataValue(1, 0.5f, false)), 0.3f);
    EXPECT_FLOAT_EQ(Translated(valuex, &point, CRetrievedDataValue(4, 0.5f, false)), 0.7f);
    EXPECT_FLOAT_EQ(Translated(valuex, &point, CRetrievedDataValue(9, 0.5f, false)), 0.7f);
}

TEST(Translation, ChoiceTakesTheOptionsProbability) {
    CDTChoice choice;
    CDTChoiceTable table({0.7f, 0.2f, 0.1f});
    EXPECT_FLOAT_EQ(Translated(choice, &table, CRetrievedDataChoice(0, 0.4f, false)), 0.7f);
    EXPECT_FLOAT_EQ(Translated(choice, &table, CRetrievedDataChoice(2, 0.4f, false)), 0.1f);
    EXPECT_FLOAT_EQ(Translated(choice, &table, CRetrievedDataChoice(7, 0.4f, true)), 0.4f);

    for (int32_t index : {3, -1}) {
        int32_t status = 0;
        EXPECT_FLOAT_EQ(Translated(choice, &table, CRetrievedDataChoice(index, 0.4f, false), status), -7.0f);
        EXPECT_EQ(status, 2) << index;
    }
    int32_t status = 0;
    Translated(choice, nullptr, CRetrievedDataChoice(0, 0.4f, false), status);
    EXPECT_EQ(status, 2);
}

TEST(Translation, IntervalWeighsTheTableByCertainty) {
    CDTInterval interval;
    // Three intervals: [0,10] 0.1, [10,20] 0.2, [20,30] 0.9; the whole
    // table's average is 0.4.
    CDTValueTable table = Table({0, 10, 20, 30}, {0.1f, 0.2f, 0.9f});
    auto at = [&](float from, float to, float certainty) {
        return Translated(interval, &table, CRetrievedDataInterval(from, to, certainty));
    };
    // Sure: the average over the interval given.
    EXPECT_NEAR(at(12, 18, 5), 0.2, 1e-6);
    EXPECT_NEAR(at(5, 25, 5), (5 * 0.1 + 10 * 0.2 + 5 * 0.9) / 20, 1e-6);
    // Don't know: the whole table's average, wherever the interval is.
    EXPECT_NEAR(at(12, 18, 0), 0.4, 1e-6);
    EXPECT_NEAR(at(-50, -40, 0), 0.4, 1e-6);
    // Surely not: the average over the rest of the table.
    const double outside = (10 * 0.1 + 2 * 0.2 + 2 * 0.2 + 10 * 0.9) / 24;
    EXPECT_NEAR(at(12, 18, -5), outside, 1e-6);
    // Linear in between.
    EXPECT_NEAR(at(12, 18, 2), 0.4 + 0.4 * (0.2 - 0.4), 1e-6);
    EXPECT_NEAR(at(12, 18, -3), 0.4 + 0.6 * (outside - 0.4), 1e-6);

    // An answer without width inside the table takes its interval; equal
    // to a boundary, the later interval.
    EXPECT_NEAR(at(25, 25, 5), 0.9, 1e-6);
    EXPECT_NEAR(at(10, 10, 5), 0.2, 1e-6);
    // Outside the table: the nearest end interval; parts outside count for nothing.
    EXPECT_NEAR(at(-9, -3, 5), 0.1, 1e-6);
    EXPECT_NEAR(at(40, 50, 5), 0.9, 1e-6);
    EXPECT_NEAR(at(-100, 5, 5), 0.1, 1e-6);
    // Covering the whole table: nothing lies outside, so surely-not is the average.
    EXPECT_NEAR(at(-1, 31, 5), 0.4, 1e-6);
    EXPECT_NEAR(at(-1, 31, -5), 0.4, 1e-6);

    // A table without width still answers a probability.
    CDTValueTable flat = Table({3, 3, 3}, {0.25f, 0.75f});
    for (float certainty : {-5.0f, 0.0f, 5.0f}) {
        float value = Translated(interval, &flat, CRetrievedDataInterval(1, 8, certainty));
        EXPECT_GE(value, 0.0f);
        EXPECT_LE(value, 1.0f);
    }
    EXPECT_FLOAT_EQ(Translated(interval, &flat, CRetrievedDataInterval(1, 2, 5)), 0.25f);

    // No table: refused.
    int32_t status = 0;
    Translated(interval, nullptr, CRetrievedDataInterval(1, 2, 5), status);
    EXPECT_EQ(status, 2);
}

TEST(Translation, Names) {
    CDTDontKnow notKnown;
    CDTProb prob;
    CDTCertFactor cf;
    CDTValue value;
    CDTValueEx valuex;
    CDTInterval interval;
    CDTChoice choice;
    CDataTranslator *all[] = {&notKnown, &prob, &cf, &value, &valuex, &interval, &choice};
    const char *names[] = {"notknown", "prob", "cf", "value", "valuex", "interval", "choice"};
    for (int i = 0; i < 7; ++i) {
        CString name;
        EXPECT_EQ(all[i]->GetName(name), 0);
        EXPECT_STREQ(name.Text(), names[i]);
    }
}
