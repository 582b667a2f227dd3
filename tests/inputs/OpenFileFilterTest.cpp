#include "inputs/OpenFileFilter.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    const char* filter;
    const char* expected;
};

class OpenFileFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(OpenFileFilterTest, BecomesQtsFilterForm)
{
    EXPECT_EQ(QtFileFilter(QString::fromLatin1(GetParam().filter)), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Filters, OpenFileFilterTest,
    ::testing::Values(
        // The add-file commands' own filter: one entry, the closing bar adds none.
        FilterCase{"Supported Image Files (*.bmp;*.dib;*.gif;*.jpg;*.jpeg)|*.bmp;*.dib;*.gif;*.jpg;*.jpeg|",
                   "Supported Image Files (*.bmp *.dib *.gif *.jpg *.jpeg)"},
        // The patterns of the entry win over a list named in its description.
        FilterCase{"Pictures (*.png)|*.jpg;*.jpeg|All Files|*.*|", "Pictures (*.jpg *.jpeg);;All Files (*.*)"},
        FilterCase{"Bitmaps|*.bmp", "Bitmaps (*.bmp)"},
        // Parentheses inside a description stay; only a closing pattern list goes.
        FilterCase{"Photos (camera) only|*.jpg|", "Photos (camera) only (*.jpg)"},
        FilterCase{"", ""}));

} // namespace
