#include "search/search_form_metrics.h"

#include <gtest/gtest.h>

namespace arkivo {
namespace {

TEST(SearchFormMetrics, SizesAreDesignedAt120PixelsPerInch) {
    EXPECT_EQ(SearchFormInitialSize(120), (FormSize{630, 479}));
    EXPECT_EQ(SearchFormMinimumSize(120), (FormSize{525, 250}));
}

TEST(SearchFormMetrics, OtherScreensScaleAndTruncate) {
    EXPECT_EQ(SearchFormMinimumSize(96), (FormSize{420, 200}));
    EXPECT_EQ(SearchFormMinimumSize(144), (FormSize{630, 300}));
    EXPECT_EQ(SearchFormMinimumSize(100), (FormSize{437, 208}));  // 437.5 and 208.3
    EXPECT_EQ(SearchFormInitialSize(96), (FormSize{504, 383}));   // 383.2
}

}  // namespace
}  // namespace arkivo
