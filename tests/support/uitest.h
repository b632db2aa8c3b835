#pragma once

#include <functional>
#include <gtest/gtest.h>

#include "qnerror.h"
#include "scriptedui.h"

// Clears what one test could leave to the next in the same process: the error
// trace (the error dialog is unloaded), the engine error list and the owner of dialogs.
void ResetErrorState();

// A test with a scripted Ui and a fresh error state; fails when a scripted
// answer was never asked for.
class UiTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetErrorState(); }
    void TearDown() override
    {
        EXPECT_TRUE(ui.allAnswered()) << "a scripted answer was never asked for";
        ResetErrorState();
    }
    ScriptedUi ui;
};

// The failure `fn` raises; a failed expectation when it raises none.
QnError failureOf(const std::function<void()> &fn);
