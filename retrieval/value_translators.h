// The translators of measured numbers: "value", "valuex" and "interval".
//
// Each reads a table from its clause, two lists of numbers:
//   translator ((0, 10, 20) (0.1, 0.5, 0.9))
// The first list holds the points (at least 2), the second the probabilities
// (each in [0, 1]): one per point for "value" and "valuex", one per interval
// between consecutive points for "interval". The lookups assume ascending
// points; no order is demanded.
//
// "value" interpolates linearly between the points and keeps the end
// probabilities outside the table. "valuex" continues the first and last
// segments' lines beyond the table and keeps the result within [0, 1]; when
// such an end segment has zero width, the nearer table end's probability is
// taken. "interval" is described at CDTInterval.
//
// A don't-know answer gives the a-priori value whatever the table; a number
// without a table (a node without translator clause) fails with 2.
#pragma once

#include <cstdint>
#include <vector>

#include "retrieval/data_translator.h"
#include "retrieval/param_record.h"

// A node's point table.
class CDTValueTable : public CParamRecord {
public:
    CDTValueTable(std::vector<float> tablePoints, std::vector<float> tableProbabilities);

    int32_t count;                    // number of points, at least 2
    std::vector<float> points;        // count points (interval boundaries)
    std::vector<float> probabilities; // count, or count - 1 for intervals

    // Reads "(points) (probabilities)" from the compiler standing on the
    // first "("; the second list must have `fewer` numbers less than the
    // first. On 0, `data` receives the new table and the token after the
    // second list's ")" is current; on 2, `data` is untouched.
    static int32_t Read(ITokenReader *compiler, CParamRecord *&data, int32_t fewer);

    // The scan of the lookups: the last index k for which `number` is at or
    // above points[0..k], or 0 when it is below points[0].
    int32_t LastPointBelow(double number) const;
    // The segment [points[k], points[k+1]] in which `number` is looked up:
    // LastPointBelow, but at most count - 2.
    int32_t SegmentOf(double number) const;
};

class CDTValue : public CDataTranslator {
public:
    int32_t Translate(CParamRecord *data, CRetrievedData *record, float &value) override;
    int32_t GetName(CString &translatorName) override;
    // Reads the point table: as many probabilities as points.
    int32_t ReadParameters(ITokenReader *compiler, CParamRecord *&data) override;

protected:
    // The translation of a number once don't-know and a missing table are
    // dealt with.
    virtual double Lookup(const CDTValueTable &table, double number) const;
};

class CDTValueEx : public CDTValue {
public:
    int32_t GetName(CString &translatorName) override;

protected:
    double Lookup(const CDTValueTable &table, double number) const override;
};

// "interval": the answer is an interval [from, to] with a certainty factor c
// from -5 to 5 saying how sure the user is that the value lies in it. The
// table's probabilities are averaged, weighted by width, over three ranges:
// the answer's interval (p_in), the table outside it (p_out) and the whole
// table (p_all). The node value is p_in when sure (c = 5), p_all when the
// user does not know (c = 0), p_out when the value is surely not in the
// interval (c = -5), and moves linearly in between. Parts of the answer
// outside the table count for nothing; an answer of zero width inside the
// table, or wholly outside it, takes the probability of the table interval
// at that point (the nearest end interval outside the table).
class CDTInterval : public CDataTranslator {
public:
    int32_t Translate(CParamRecord *data, CRetrievedData *record, float &value) override;
    int32_t GetName(CString &translatorName) override;
    // Reads the boundaries and one probability fewer.
    int32_t ReadParameters(ITokenReader *compiler, CParamRecord *&data) override;

    // The node value for an interval answer, in double precision.
    static double FromInterval(const CDTValueTable &table, double from, double to, double certainty);
};
