#include <gtest/gtest.h>

#include "test_host.h"

TEST(Exports, TableHoldsEveryNameTheRuntimeLooksUp) {
    TestHost host;
    ASSERT_NE(nullptr, host.plugin);
    const char *names[] = {
        "_CreateREdit@16",   "__FreeREdit@16",   "_REditFree@16",      "_REditClear@16",
        "_SetREditMode@16",  "_REditSetText@16", "_REditGetText@16",   "_GetREditLength@16",
        "_GetREditLines@16", "_REditRead@16",    "_REditWrite@16",     "_SetREditFont@16",
        "_SetREditFont2@16", "_SetBackColor@16", "_SetREditIMECol@16", "_MyCopyRight_"};
    for (const char *name : names)
        EXPECT_NE(nullptr, reinterpret_cast<void *>(GetProcAddress(host.plugin, name))) << name;
}

TEST(Copyright, ShowsTheNoticeAndAnswersWhatTheBoxAnswers) {
    TestHost host;
    DialogAnswer ok(IDOK);
    EXPECT_EQ(IDOK, host.copyright());
    EXPECT_TRUE(ok.join());
}
