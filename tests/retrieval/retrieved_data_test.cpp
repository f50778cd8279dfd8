// The short texts of retrieved answers.
#include "retrieval/retrieved_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {
std::string TextOf(const CRetrievedData &record) { return record.ToText().Text(); }
}  // namespace

TEST(CRetrievedData, ToTextGivesDnForDontKnowAndTheValueOtherwise) {
    EXPECT_EQ(TextOf(CRetrievedDataProb(0.25f, 0.5f, false)), "0.250000");
    EXPECT_EQ(TextOf(CRetrievedDataProb(0.25f, 0.5f, true)), "dn");
    EXPECT_EQ(TextOf(CRetrievedDataCertFact(-3.0f, 0.5f)), "-3.000000");
    EXPECT_EQ(TextOf(CRetrievedDataCertFact(0.0f, 0.5f)), "0.000000");  // no don't-know flag here
    EXPECT_EQ(TextOf(CRetrievedDataValue(37.5f, 0.5f, false)), "37.500000");
    EXPECT_EQ(TextOf(CRetrievedDataValue(37.5f, 0.5f, true)), "dn");
    EXPECT_EQ(TextOf(CRetrievedDataInterval(1.0f, 2.0f, 3.0f)), "not implemented");
    EXPECT_EQ(TextOf(CRetrievedDataChoice(2, 0.5f, false)), "2");
    EXPECT_EQ(TextOf(CRetrievedDataChoice(0, 0.5f, true)), "dn");
    EXPECT_EQ(TextOf(CRetrievedDataDontKnow(0.5f)), "dn");

    // The records keep what the translators read.
    std::unique_ptr<CRetrievedData> record = std::make_unique<CRetrievedDataChoice>(4, 0.3f, false);
    auto *choice = dynamic_cast<CRetrievedDataChoice *>(record.get());
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->index, 4);
    EXPECT_FLOAT_EQ(choice->apriori, 0.3f);
}
