#include "LeadingNumber.h"

#include <QString>

#include <gtest/gtest.h>

TEST(LeadingNumber, ReadsLikeStrtolAndStrtod) {
    struct Case {
        const char* text;
        int integer;
        double decimal;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"abc", 0, 0},
        {"  42x", 42, 42},
        {"29.97", 29, 29.97},
        {"-5", -5, -5},
        {"+7", 7, 7},
        {"2(Stereo)", 2, 2},
        {".5", 0, 0.5},
        {"1280x720", 1280, 1280},
        {"99999999999999999999", INT_MAX, 1e20},
        {"-", 0, 0},
        {"\t12", 12, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeadingNumber::integer(QString(c.text)), c.integer) << c.text;
        EXPECT_DOUBLE_EQ(LeadingNumber::decimal(QString(c.text)), c.decimal) << c.text;
    }
}
