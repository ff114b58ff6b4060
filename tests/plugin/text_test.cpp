#include <gtest/gtest.h>

#include <string>

#include "host_fixture.h"
#include "host_variables.h"

struct Refusal {
    const char *exportName;
    bool stringVariable;
    int expected;
};

// Runs each refused call on fresh variables and checks that neither was written.
static void expectRefusals(TestHost &host, const Refusal *cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const Refusal &c = cases[i];
        TestVariable text = TestVariable::string(4);
        text.setText("keep");
        TestVariable number = TestVariable::integer();
        TestVariable &v = c.stringVariable ? text : number;
        EXPECT_EQ(c.expected, host.call(c.exportName, v.get()))
            << c.exportName << (c.stringVariable ? " with a string" : " with an integer");
        EXPECT_TRUE(v.untouchedOutside()) << c.exportName;
        EXPECT_EQ("keep", text.text()) << c.exportName;
        EXPECT_EQ(static_cast<int32_t>(0xEEEEEEEE), number.integerValue()) << c.exportName;
    }
}

// The two text exports test the type first and use -2 for a missing control; the two counts
// run the guard first and use -2 for the wrong type.
TEST(TextRefusals, WithoutControlTheOrderOfTestsDecides) {
    TestHost host;
    const Refusal cases[] = {
        {"_REditSetText@16", false, -1},  {"_REditSetText@16", true, -2},
        {"_REditGetText@16", false, -1},  {"_REditGetText@16", true, -2},
        {"_GetREditLength@16", true, -1}, {"_GetREditLength@16", false, -1},
        {"_GetREditLines@16", true, -1},  {"_GetREditLines@16", false, -1},
    };
    expectRefusals(host, cases, sizeof cases / sizeof cases[0]);
}

// A string variable without storage is refused as one of the wrong type is: before the control
// is looked at, so the answer does not depend on whether a control exists.
TEST(TextRefusals, VariableWithoutStorageIsRefusedBeforeTheGuard) {
    TestHost host;
    for (const char *name : {"_REditSetText@16", "_REditGetText@16"}) {
        for (bool sizeRecord : {false, true}) {
            TestVariable v =
                sizeRecord ? TestVariable::recordString(0, 3) : TestVariable::string(0);
            EXPECT_EQ(-1, host.call(name, v.get())) << name << " " << sizeRecord;
            EXPECT_TRUE(v.untouchedOutside()) << name << " " << sizeRecord;
        }
    }
}

TEST(TextRefusals, WithControlOnlyTheTypeDecides) {
    TestHost host;
    ASSERT_EQ(0, host.create(0));
    SetWindowTextA(host.info()->objects[0], "present");
    const Refusal cases[] = {
        {"_REditSetText@16", false, -1},
        {"_REditGetText@16", false, -1},
        {"_GetREditLength@16", true, -2},
        {"_GetREditLines@16", true, -2},
    };
    expectRefusals(host, cases, sizeof cases / sizeof cases[0]);
}

class TextTest : public ControlTest {
  protected:
    int setText(TestVariable &v) { return host.call("_REditSetText@16", v.get()); }
    int getText(TestVariable &v) { return host.call("_REditGetText@16", v.get()); }
    int32_t count(const char *exportName) {
        TestVariable number = TestVariable::integer();
        EXPECT_EQ(0, host.call(exportName, number.get())) << exportName;
        EXPECT_TRUE(number.untouchedOutside()) << exportName;
        return number.integerValue();
    }
};

TEST_F(TextTest, SetAndGetCarryShiftJisText) {
    // "日本語のテキスト" and a second line, in Shift-JIS.
    const std::string text = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67"
                             "\r\nline 2";
    TestVariable in = TestVariable::string(16);
    in.setText(text);
    EXPECT_EQ(0, setText(in));
    EXPECT_EQ(text, shown());
    EXPECT_EQ(text, in.text());
    EXPECT_TRUE(in.untouchedOutside());

    TestVariable out = TestVariable::string(16);
    EXPECT_EQ(-static_cast<int>(text.size()), getText(out));
    EXPECT_EQ(text, out.text());
    EXPECT_TRUE(out.untouchedOutside());
}

// Capacity is 4 x unitLength, times elementCount above 1, from the 16-bit fields or, when the
// flag says so, from the size record; the text stops one byte short of it.
TEST_F(TextTest, GetTextStopsOneByteShortOfTheCapacity) {
    struct Case {
        const char *name;
        TestVariable (*make)();
        int capacity;
    } cases[] = {
        {"16 units", [] { return TestVariable::string(16); }, 64},
        {"16 units, count 0", [] { return TestVariable::string(16, 0); }, 64},
        {"array of 3 x 16 units", [] { return TestVariable::string(16, 3); }, 192},
        {"size record, 16 units", [] { return TestVariable::recordString(16); }, 64},
        {"size record, 3 x 16 units", [] { return TestVariable::recordString(16, 3); }, 192},
        {"size record, count -5", [] { return TestVariable::recordString(16, -5); }, 64},
        {"1 unit", [] { return TestVariable::string(1); }, 4},
    };
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += static_cast<char>('a' + i % 26);
    show(text);
    for (const Case &c : cases) {
        TestVariable v = c.make();
        EXPECT_EQ(-(c.capacity - 1), getText(v)) << c.name;
        EXPECT_EQ(text.substr(0, c.capacity - 1), v.text()) << c.name;
        EXPECT_TRUE(v.untouchedOutside()) << c.name;
    }
}

TEST_F(TextTest, SetTextCutsATextThatFillsItsBuffer) {
    for (bool sizeRecord : {false, true}) {
        TestVariable v = sizeRecord ? TestVariable::recordString(4, 2) : TestVariable::string(4, 2);
        v.setText(std::string(32, 'x'));
        EXPECT_EQ(0, setText(v));
        EXPECT_EQ(std::string(31, 'x'), shown()) << sizeRecord;
        EXPECT_EQ(std::string(31, 'x'), v.text()) << sizeRecord;
        EXPECT_TRUE(v.untouchedOutside()) << sizeRecord;
    }
    // The cut after "ab" and the lead byte of あ would hand the control half a character.
    TestVariable v = TestVariable::string(1);
    v.setText("ab\x82\xa0");
    EXPECT_EQ(0, setText(v));
    EXPECT_EQ("ab", shown());
    EXPECT_EQ("ab", v.text());
}

// A double-byte character that does not fit is left out whole, and the count says what
// arrived. "あいう" is six bytes in Shift-JIS.
TEST_F(TextTest, GetTextNeverEndsInHalfACharacter) {
    struct Case {
        const char *text;
        uint16_t unitLength;
        const char *expected;
    } cases[] = {
        {"\x82\xa0\x82\xa2\x82\xa4", 1, "\x82\xa0"},
        {"\x82\xa0\x82\xa2\x82\xa4", 2, "\x82\xa0\x82\xa2\x82\xa4"},
        {"ab\x82\xa0\x82\xa2", 1, "ab"},
        {"abc\x82\xa0", 1, "abc"},
    };
    for (const Case &c : cases) {
        show(c.text);
        TestVariable v = TestVariable::string(c.unitLength);
        EXPECT_EQ(-static_cast<int>(std::string(c.expected).size()), getText(v)) << c.text;
        EXPECT_EQ(c.expected, v.text()) << c.text;
        EXPECT_TRUE(v.untouchedOutside()) << c.text;
    }
}

TEST_F(TextTest, EmptyControlGivesAnEmptyString) {
    TestVariable v = TestVariable::string(4);
    v.setText("old");
    EXPECT_EQ(0, getText(v));
    EXPECT_EQ("", v.text());
    EXPECT_TRUE(v.untouchedOutside());
}

// A variable without storage gets no write at all, not even a terminator before its start.
TEST_F(TextTest, VariablesWithoutCapacityAreRefused) {
    struct Case {
        const char *name;
        TestVariable (*make)();
    } cases[] = {
        {"unitLength 0", [] { return TestVariable::string(0); }},
        {"unitLength 0, array", [] { return TestVariable::string(0, 4); }},
        {"size record, unitLength 0", [] { return TestVariable::recordString(0, 3); }},
        {"size record, unitLength -1", [] { return TestVariable::recordString(-1); }},
    };
    show("unchanged");
    for (const Case &c : cases) {
        TestVariable set = c.make();
        EXPECT_EQ(-1, setText(set)) << c.name;
        EXPECT_TRUE(set.untouchedOutside()) << c.name;
        TestVariable get = c.make();
        EXPECT_EQ(-1, getText(get)) << c.name;
        EXPECT_TRUE(get.untouchedOutside()) << c.name;
    }
    EXPECT_EQ("unchanged", shown());
}

// The length is the control's own answer: this one counts a double-byte character once.
TEST_F(TextTest, LengthAndLineCounts) {
    struct Case {
        const char *text;
        int32_t lines;
    } cases[] = {
        {"", 1},
        {"one line", 1},
        {"a\r\nb\r\nc", 3},
        {"a\r\nb\r\n", 2}, // a closing break belongs to the line it ends
        {"\x93\xfa\x96\x7b\r\n\x93\xfa", 2},
    };
    for (const Case &c : cases) {
        show(c.text);
        EXPECT_EQ(GetWindowTextLengthA(control), count("_GetREditLength@16")) << c.text;
        EXPECT_EQ(c.lines, count("_GetREditLines@16")) << c.text;
    }
    show("a\r\nbc");
    EXPECT_EQ(5, count("_GetREditLength@16"));
}

// The line count is the line of the last character plus one, so an empty control asks about
// index -1.
TEST_F(TextTest, LineCountAsksAboutTheLastCharacter) {
    MessageSpy spy(control);
    for (const char *text : {"", "abc", "a\r\nbc"}) {
        show(text);
        spy.messages.clear();
        count("_GetREditLines@16");
        const SpiedMessage *asked = spy.last(EM_EXLINEFROMCHAR);
        ASSERT_NE(nullptr, asked) << text;
        EXPECT_EQ(0u, asked->wParam) << text;
        EXPECT_EQ(static_cast<LPARAM>(GetWindowTextLengthA(control)) - 1, asked->lParam) << text;
    }
}
