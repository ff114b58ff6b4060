#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "host_fixture.h"
#include "host_variables.h"
#include "plugin/stream.h"

class StreamTest : public ControlTest {
  protected:
    int read(const char *path, int flag) { return host.call("_REditRead@16", 0, name(path), flag); }
    int write(const char *path, int flag) {
        return host.call("_REditWrite@16", 0, name(path), flag);
    }
    static int name(const char *path) { return static_cast<int>(reinterpret_cast<intptr_t>(path)); }
};

// "日本語" and two lines, in Shift-JIS.
static const std::string sample = "\x93\xfa\x96\x7b\x8c\xea text\r\nsecond line";

TEST_F(StreamTest, PlainTextRoundTrip) {
    TempFile file("lumbra_plain.txt");
    show(sample);
    setModified(true);
    EXPECT_EQ(0, write(file.path(), 0));
    EXPECT_FALSE(modified());
    EXPECT_EQ(sample, file.read());

    show("other");
    setModified(true);
    EXPECT_EQ(0, read(file.path(), 0));
    EXPECT_EQ(sample, shown());
    EXPECT_FALSE(modified());
}

// Every flag but 0 means Rich Text Format, for reading and for writing.
TEST_F(StreamTest, RichTextRoundTripForAnyNonZeroFlag) {
    for (int flag : {1, -1, 2, 0x100}) {
        TempFile file("lumbra_rich.rtf");
        show(sample);
        setModified(true);
        EXPECT_EQ(0, write(file.path(), flag)) << flag;
        EXPECT_FALSE(modified()) << flag;
        EXPECT_EQ(0u, file.read().find("{\\rtf")) << flag;

        show("other");
        setModified(true);
        EXPECT_EQ(0, read(file.path(), flag)) << flag;
        EXPECT_EQ(sample, shown()) << flag;
        EXPECT_FALSE(modified()) << flag;
    }
}

TEST_F(StreamTest, RichTextReadAsPlainShowsItsSource) {
    TempFile file("lumbra_source.rtf");
    const std::string source = "{\\rtf1\\ansi {\\b bold} plain}";
    file.write(source);
    EXPECT_EQ(0, read(file.path(), 0));
    EXPECT_EQ(source, shown());
}

// A file that holds no RTF, read as RTF, leaves the control empty: the control refuses the
// stream although every byte was read, and the load must not pass for a success. An empty
// file leaves it empty too, which is what the file holds.
TEST_F(StreamTest, FileWithoutRichTextReadAsRichTextIsRefused) {
    struct Case {
        const char *content;
        int result;
    } cases[] = {{"", 0}, {"plain text\r\nsecond line", -4}};
    for (const Case &c : cases) {
        TempFile file("lumbra_not_rich.rtf");
        file.write(c.content);
        show("before");
        setModified(true);
        EXPECT_EQ(c.result, read(file.path(), 1)) << c.content;
        EXPECT_EQ(c.result != 0, modified()) << c.content;
        EXPECT_EQ("", shown()) << c.content;
    }
}

// The control reads plain text in pieces of its own size; characters across the end of every
// piece come through whole, in both alignments. 表 (95h 5Ch) has a backslash as trail byte.
TEST_F(StreamTest, PlainTextLoadKeepsCharactersThatCrossPieces) {
    for (const char *start : {"", "a"}) {
        std::string text = start;
        while (text.size() < 3 * 4096 + 10)
            text += "\x82\xa0\x95\x5c";
        TempFile file("lumbra_pieces.txt");
        file.write(text);
        EXPECT_EQ(0, read(file.path(), 0)) << start;
        EXPECT_TRUE(text == shown()) << "starting with \"" << start << "\"";
    }
}

TEST_F(StreamTest, SavingCutsALongerFileAndAnEmptyControlGivesAnEmptyFile) {
    TempFile file("lumbra_cut.txt");
    file.write(std::string(5000, 'z'));
    show("short");
    EXPECT_EQ(0, write(file.path(), 0));
    EXPECT_EQ("short", file.read());

    show("");
    EXPECT_EQ(0, write(file.path(), 0));
    EXPECT_TRUE(file.exists());
    EXPECT_EQ("", file.read());
}

// A file that cannot be opened is reported, and the control and its flag stay as they were.
TEST_F(StreamTest, FilesThatCannotBeOpenedAnswerMinusThree) {
    TempFile missing("lumbra_missing.txt");
    TempFile noFolder("lumbra_no_such_folder\\file.txt");
    for (bool flag : {true, false}) {
        show("kept");
        setModified(flag);
        EXPECT_EQ(-3, read(missing.path(), 0));
        EXPECT_EQ(-3, read(missing.path(), 1));
        EXPECT_EQ("kept", shown());
        EXPECT_EQ(flag, modified());
        EXPECT_EQ(-3, write(noFolder.path(), 0));
        EXPECT_EQ(-3, write(noFolder.path(), 1));
        EXPECT_EQ(flag, modified());
        EXPECT_FALSE(noFolder.exists());
    }
}

TEST(StreamWithoutControl, AnswersMinusOneAndOpensNothing) {
    TestHost host;
    TempFile file("lumbra_none.txt");
    file.write("content");
    const int name = static_cast<int>(reinterpret_cast<intptr_t>(file.path()));
    EXPECT_EQ(-1, host.call("_REditRead@16", 0, name, 0));
    EXPECT_EQ(-1, host.call("_REditWrite@16", 0, name, 0));
    EXPECT_EQ("content", file.read());
}

// While the control streams, the file is open to nobody else.
TEST_F(StreamTest, NoOneElseCanOpenTheFileDuringTheTransfer) {
    TempFile file("lumbra_locked.txt");
    file.write("locked");
    MessageSpy spy(control);
    int attempts = 0;
    DWORD error = 0;
    spy.before = [&](UINT message, WPARAM, LPARAM) {
        if (message != EM_STREAMIN && message != EM_STREAMOUT)
            return;
        ++attempts;
        HANDLE other = CreateFileA(file.path(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        error = other == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (other != INVALID_HANDLE_VALUE)
            CloseHandle(other);
    };
    EXPECT_EQ(0, read(file.path(), 0));
    EXPECT_EQ(1, attempts);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), error);
    EXPECT_EQ(0, write(file.path(), 0));
    EXPECT_EQ(2, attempts);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), error);
}

// Stands between the control and the export's own stream callback: before each call, hook
// gets the call's number and the file handle that the export's cookie carries and answers the
// handle that the callback is to use, so that a test can hand the callback a failing handle or
// move the file's position.
class StreamRelay {
  public:
    StreamRelay(MessageSpy &spy, UINT message, std::function<DWORD_PTR(int, DWORD_PTR)> hook)
        : hook(std::move(hook)) {
        current = this;
        spy.before = [this, message](UINT seen, WPARAM, LPARAM lParam) {
            if (seen != message)
                return;
            EDITSTREAM *stream = reinterpret_cast<EDITSTREAM *>(lParam);
            pluginCallback = stream->pfnCallback;
            stream->pfnCallback = relay;
        };
    }
    ~StreamRelay() { current = nullptr; }
    int calls = 0;

  private:
    static DWORD CALLBACK relay(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *count) {
        StreamState *state = reinterpret_cast<StreamState *>(cookie);
        HANDLE own = state->file;
        state->file = reinterpret_cast<HANDLE>(
            current->hook(current->calls++, reinterpret_cast<DWORD_PTR>(own)));
        DWORD answer = current->pluginCallback(cookie, buffer, size, count);
        state->file = own;
        return answer;
    }
    static StreamRelay *current;
    std::function<DWORD_PTR(int, DWORD_PTR)> hook;
    EDITSTREAMCALLBACK pluginCallback = nullptr;
};
StreamRelay *StreamRelay::current;

// A second file opened with only the given access: the export's callback fails on it.
class WrongAccess {
  public:
    WrongAccess(const TempFile &file, DWORD access)
        : handle(CreateFileA(file.path(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~WrongAccess() { CloseHandle(handle); }
    DWORD_PTR cookie() const { return reinterpret_cast<DWORD_PTR>(handle); }

  private:
    HANDLE handle;
};

static std::string longText() {
    std::string text;
    for (int line = 0; text.size() < 100000; ++line)
        text += "line " + std::to_string(line) + " of a text too long for one chunk\r\n";
    return text;
}

// A partly read file is no copy of anything on disk, so the control counts as modified.
TEST_F(StreamTest, ReadFailingPartWayAnswersMinusFourAndMarksTheControlModified) {
    TempFile file("lumbra_long_in.txt");
    TempFile other("lumbra_write_only.txt");
    const std::string text = longText();
    file.write(text);
    setModified(false);
    MessageSpy spy(control);
    WrongAccess writeOnly(other, GENERIC_WRITE);
    StreamRelay relay(spy, EM_STREAMIN, [&](int call, DWORD_PTR cookie) {
        return call == 0 ? cookie : writeOnly.cookie();
    });
    EXPECT_EQ(-4, read(file.path(), 0));
    EXPECT_EQ(2, relay.calls);
    EXPECT_TRUE(modified());
    std::string got = shown();
    EXPECT_LT(got.size(), text.size());
    EXPECT_EQ(text.substr(0, got.size()), got);
}

TEST_F(StreamTest, WriteFailingPartWayAnswersMinusFourAndKeepsTheModifiedFlag) {
    TempFile file("lumbra_long_out.txt");
    TempFile other("lumbra_read_only.txt");
    const std::string text = longText();
    show(text);
    setModified(true);
    MessageSpy spy(control);
    WrongAccess readOnly(other, GENERIC_READ);
    StreamRelay relay(spy, EM_STREAMOUT, [&](int call, DWORD_PTR cookie) {
        return call == 0 ? cookie : readOnly.cookie();
    });
    EXPECT_EQ(-4, write(file.path(), 0));
    EXPECT_EQ(2, relay.calls);
    EXPECT_TRUE(modified());
    std::string saved = file.read();
    EXPECT_LT(saved.size(), text.size());
    EXPECT_EQ(text.substr(0, saved.size()), saved);
}

// The close is part of the save: a handle that can no longer be closed fails it, although every
// write went through (here to a copy of the handle).
TEST_F(StreamTest, WriteWhoseCloseFailsAnswersMinusFourAndMarksTheControlModified) {
    TempFile file("lumbra_close.txt");
    show(sample);
    setModified(false);
    MessageSpy spy(control);
    HANDLE copy = nullptr;
    StreamRelay relay(spy, EM_STREAMOUT, [&](int call, DWORD_PTR cookie) {
        HANDLE own = reinterpret_cast<HANDLE>(cookie);
        if (call == 0 && DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0,
                                         FALSE, DUPLICATE_SAME_ACCESS))
            CloseHandle(own);
        return reinterpret_cast<DWORD_PTR>(copy);
    });
    EXPECT_EQ(-4, write(file.path(), 0));
    EXPECT_TRUE(modified());
    CloseHandle(copy);
    EXPECT_EQ(sample, file.read());
}

// Run by disk_full.sh, which mounts a file system of 64 KiB and names its folder in
// LUMBRA_FULL_FOLDER (a Windows path ending in a backslash).
class FullDiskTest : public StreamTest {
  protected:
    void SetUp() override {
        folder = std::getenv("LUMBRA_FULL_FOLDER");
        if (!folder || !*folder)
            GTEST_SKIP() << "needs a tiny file system: run through disk_full.sh as root";
        StreamTest::SetUp();
    }
    const char *folder = nullptr;
};

TEST_F(FullDiskTest, SaveThatOverrunsTheSpaceAnswersMinusFourAndKeepsTheModifiedFlag) {
    TempFile file("full.txt", folder);
    show(longText());
    for (int flag : {0, 1}) {
        setModified(true);
        EXPECT_EQ(-4, write(file.path(), flag)) << flag;
        EXPECT_TRUE(modified()) << flag;
    }
}

// Moving the file's start by a few bytes puts the control's 4096-byte chunks out of line with
// the file system's pages, so the last chunk meets the end of the space in its middle: the
// file system takes part of it and WriteFile still succeeds; only the byte count shows the loss.
TEST_F(FullDiskTest, ShortLastWriteCountsAsAFailure) {
    TempFile file("short.txt", folder);
    const DWORD shift = 100;
    const size_t space = 64 * 1024;
    std::string text = longText().substr(0, space - shift + 50);
    show(text);
    setModified(true);
    MessageSpy spy(control);
    StreamRelay relay(spy, EM_STREAMOUT, [&](int call, DWORD_PTR cookie) {
        if (call == 0) {
            char bytes[shift] = {};
            DWORD written = 0;
            WriteFile(reinterpret_cast<HANDLE>(cookie), bytes, shift, &written, nullptr);
        }
        return cookie;
    });
    EXPECT_EQ(-4, write(file.path(), 0));
    EXPECT_TRUE(modified());
    EXPECT_LT(file.read().size(), shift + text.size());
}
