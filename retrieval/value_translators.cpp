#include "retrieval/value_translators.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "foundation/token_reader.h"
#include "retrieval/number_list_reader.h"
#include "retrieval/retrieved_data.h"

namespace {

double Clamp01(double value) { return std::clamp(value, 0.0, 1.0); }

// The straight line through the segment k of the table, at `number`.
double OnSegment(const CDTValueTable &table, int32_t k, double number) {
    const double x0 = table.points[k], x1 = table.points[k + 1];
    const double y0 = table.probabilities[k], y1 = table.probabilities[k + 1];
    return y0 + (number - x0) * (y1 - y0) / (x1 - x0);
}

}  // namespace

// ---------------------------------------------------------------- the table

CDTValueTable::CDTValueTable(std::vector<float> tablePoints, std::vector<float> tableProbabilities)
    : count(static_cast<int32_t>(tablePoints.size())),
      points(std::move(tablePoints)),
      probabilities(std::move(tableProbabilities)) {}

int32_t CDTValueTable::Read(ITokenReader *compiler, CParamRecord *&data, int32_t fewer) {
    CFloatVector numbers;
    if (ReadParenthesisedNumbers(compiler, numbers) != 0) return 2;
    // Tested at the first list's ")", before anything of the second list.
    if (numbers.Count() < 2) return 2;
    std::vector<float> points = CopyOfNumbers(numbers);

    numbers.Reset();
    compiler->Next();
    if (ReadParenthesisedNumbers(compiler, numbers) != 0) return 2;
    if (numbers.Count() != static_cast<int32_t>(points.size()) - fewer) return 2;
    if (!AllProbabilities(numbers)) return 2;
    compiler->Next();
    data = new CDTValueTable(std::move(points), CopyOfNumbers(numbers));
    return 0;
}

int32_t CDTValueTable::LastPointBelow(double number) const {
    int32_t k = 0;
    for (int32_t i = 0; i < count && number >= points[i]; ++i) k = i;
    return k;
}

int32_t CDTValueTable::SegmentOf(double number) const { return std::min(LastPointBelow(number), count - 2); }

// ---------------------------------------------------------------- value

int32_t CDTValue::Translate(CParamRecord *data, CRetrievedData *record, float &value) {
    auto *answer = dynamic_cast<CRetrievedDataValue *>(record);
    if (answer == nullptr) return 2;
    if (answer->dontKnow) {
        value = answer->apriori;
        return 0;
    }
    auto *table = dynamic_cast<CDTValueTable *>(data);
    if (table == nullptr) return 2;
    value = static_cast<float>(Lookup(*table, answer->value));
    return 0;
}

int32_t CDTValue::GetName(CString &translatorName) {
    translatorName = "value";
    return 0;
}

int32_t CDTValue::ReadParameters(ITokenReader *compiler, CParamRecord *&data) {
    return CDTValueTable::Read(compiler, data, 0);
}

double CDTValue::Lookup(const CDTValueTable &table, double number) const {
    const int32_t last = table.count - 1;
    if (number < table.points[0]) return table.probabilities[0];
    if (number > table.points[last]) return table.probabilities[last];
    const int32_t k = table.LastPointBelow(number);
    if (k == last) return table.probabilities[last];
    // The scan stopped at a point above the number, so the segment has a
    // width even where two points are equal.
    return OnSegment(table, k, number);
}

// ---------------------------------------------------------------- valuex

int32_t CDTValueEx::GetName(CString &translatorName) {
    translatorName = "valuex";
    return 0;
}

double CDTValueEx::Lookup(const CDTValueTable &table, double number) const {
    const int32_t k = table.SegmentOf(number);
    if (table.points[k + 1] == table.points[k]) {
        // An end segment of zero width has no line to continue.
        const bool belowTable = k == 0 && number < table.points[0];
        return belowTable ? table.probabilities[0] : table.probabilities[table.count - 1];
    }
    return Clamp01(OnSegment(table, k, number));
}

// ---------------------------------------------------------------- interval

namespace {

// Width-weighted sum of the table's interval probabilities over the part of
// [low, high] that the table covers; `width` receives that part's width.
double CoveredSum(const CDTValueTable &table, double low, double high, double &width) {
    double sum = 0.0;
    width = 0.0;
    for (int32_t i = 0; i + 1 < table.count; ++i) {
        const double covered = std::min<double>(high, table.points[i + 1]) - std::max<double>(low, table.points[i]);
        if (covered <= 0.0) continue;
        sum += covered * table.probabilities[i];
        width += covered;
    }
    return sum;
}

}  // namespace

double CDTInterval::FromInterval(const CDTValueTable &table, double from, double to, double certainty) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    // The segment in which an answer without width is looked up.
    const double atPoint = table.probabilities[table.SegmentOf(from)];

    double allWidth = 0.0, inWidth = 0.0, belowWidth = 0.0, aboveWidth = 0.0;
    const double allSum = CoveredSum(table, -kInfinity, kInfinity, allWidth);
    const double inSum = CoveredSum(table, from, to, inWidth);
    const double outSum = CoveredSum(table, -kInfinity, from, belowWidth) + CoveredSum(table, to, kInfinity, aboveWidth);
    const double outWidth = belowWidth + aboveWidth;

    const double inside = inWidth > 0.0 ? inSum / inWidth : atPoint;
    const double all = allWidth > 0.0 ? allSum / allWidth : inside;
    const double outside = outWidth > 0.0 ? outSum / outWidth : all;

    const double weight = std::clamp(certainty, -5.0, 5.0) / 5.0;
    const double result = weight >= 0.0 ? all + weight * (inside - all) : all - weight * (outside - all);
    return Clamp01(result);
}

int32_t CDTInterval::Translate(CParamRecord *data, CRetrievedData *record, float &value) {
    auto *answer = dynamic_cast<CRetrievedDataInterval *>(record);
    auto *table = dynamic_cast<CDTValueTable *>(data);
    if (answer == nullptr || table == nullptr) return 2;
    value = static_cast<float>(FromInterval(*table, answer->from, answer->to, answer->certainty));
    return 0;
}

int32_t CDTInterval::GetName(CString &translatorName) {
    translatorName = "interval";
    return 0;
}

int32_t CDTInterval::ReadParameters(ITokenReader *compiler, CParamRecord *&data) {
    return CDTValueTable::Read(compiler, data, 1);
}
