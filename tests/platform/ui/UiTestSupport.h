// Shared fixture of the window-layer tests: a clean driver on the virtual clock and no windows
// left behind.
#pragma once

#include <gtest/gtest.h>

#include "platform/ui/afxwin.h"

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        CUiDriver::Get().Reset();
        CUiDriver::Get().UseVirtualClock(TRUE);
    }
    void TearDown() override {
        CUiDriver::Get().PumpMessages();
        CUiDriver::Get().Reset();
    }
};
