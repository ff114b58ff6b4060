// The fixture of the tests that work on a live control: a stand-in host whose object 0 has
// been replaced by the plug-in's rich edit control, and the control's text and modified flag
// as the host sees them.
#ifndef TESTS_PLUGIN_HOST_FIXTURE_H
#define TESTS_PLUGIN_HOST_FIXTURE_H

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "test_host.h"

class ControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(0, host.create(0));
        control = host.info()->objects[0];
        ASSERT_TRUE(IsWindow(control));
    }
    void show(const std::string &text) { SetWindowTextA(control, text.c_str()); }
    std::string shown() {
        std::string text(GetWindowTextLengthA(control) * 2 + 1, '\0');
        text.resize(GetWindowTextA(control, &text[0], static_cast<int>(text.size())));
        return text;
    }
    void setModified(bool modified) { SendMessageA(control, EM_SETMODIFY, modified, 0); }
    bool modified() { return SendMessageA(control, EM_GETMODIFY, 0, 0) != 0; }

    TestHost host;
    HWND control = nullptr;
};

#endif
