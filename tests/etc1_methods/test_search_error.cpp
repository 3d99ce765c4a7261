// What a modifier search returns, worked out from its rows' full sums: the
// smallest for the plain and tall perceptual searches, and the wide perceptual
// search's single-precision bookkeeping, which can round a sum up past a whole unit.
#include <gtest/gtest.h>

#include <cstdint>

#include "etc1/ETC1ModifierSearch.h"
#include "support/CaseNames.h"

using namespace ETC1Encoder;

namespace {

constexpr uint32_t kNever = 900000000;  // above every half's internal sum

struct RowSumsCase {
    const char* what;
    ErrorMeasure measure;
    HalfShape shape;
    uint32_t rowSums[kTableRows];
    int32_t error;
};

void PrintTo(const RowSumsCase& c, std::ostream* os) { *os << c.what; }


const RowSumsCase kCases[] = {
    {"plain: the smallest row", ErrorMeasure::Plain, HalfShape::Tall, {9, 7, 3, 12, 3, 40, 50, 60}, 3},
    {"plain wide: the same", ErrorMeasure::Plain, HalfShape::Wide, {9, 7, 3, 12, 3, 40, 50, 60}, 3},
    {"tall perceptual drops the remainder", ErrorMeasure::Perceptual, HalfShape::Tall,
     {kNever, 1999, kNever, kNever, kNever, kNever, kNever, kNever}, 1},
    {"tall perceptual on a large sum", ErrorMeasure::Perceptual, HalfShape::Tall,
     {123455999, kNever, kNever, kNever, kNever, kNever, kNever, kNever}, 123455},
    {"wide perceptual: the float quotient rounds up", ErrorMeasure::Perceptual, HalfShape::Wide,
     {123455999, kNever, kNever, kNever, kNever, kNever, kNever, kNever}, 123456},
    {"wide perceptual: a later smaller row rounds up too", ErrorMeasure::Perceptual, HalfShape::Wide,
     {123456100, 123455999, kNever, kNever, kNever, kNever, kNever, kNever}, 123456},
    {"wide perceptual: a row below the rounded best counts", ErrorMeasure::Perceptual, HalfShape::Wide,
     {123455999, 123455500, kNever, kNever, kNever, kNever, kNever, kNever}, 123455},
    {"wide perceptual: small sums stay exact", ErrorMeasure::Perceptual, HalfShape::Wide,
     {5001, 5000, kNever, kNever, kNever, kNever, kNever, kNever}, 5},
    {"wide perceptual: all rows at zero", ErrorMeasure::Perceptual, HalfShape::Wide, {0, 0, 0, 0, 0, 0, 0, 0}, 0},
};

class SearchErrorFromRows : public testing::TestWithParam<RowSumsCase> {};

TEST_P(SearchErrorFromRows, MatchesTheSearch) {
    const RowSumsCase& row = GetParam();
    EXPECT_EQ(SearchErrorFromRowSums(row.measure, row.shape, row.rowSums), row.error) << row.what;
}

INSTANTIATE_TEST_SUITE_P(Measures, SearchErrorFromRows, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<RowSumsCase>& info) { return CaseName(info.param.what); });

TEST(InternalLimit, PerceptualLimitsAreInThousandths) {
    EXPECT_EQ(InternalLimit(ErrorMeasure::Plain, 3121200), 3121200u);
    EXPECT_EQ(InternalLimit(ErrorMeasure::Perceptual, 3121200), 3121200000u);
}

}  // namespace
