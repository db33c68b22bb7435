// What the tests of the screen's windows share: the program's state reset
// with the test module as its instance and an apartment for the imaging
// factory; afterwards the windows destroyed, their resources released and
// the quit message their end posts taken off the queue.
#pragma once
#include <gtest/gtest.h>

#include "tests/support/scratch.h"

class ScreenTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ScratchDevice device;
};
