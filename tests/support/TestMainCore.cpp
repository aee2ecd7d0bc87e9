#include "TestProcessEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    prepareTestProcessEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
