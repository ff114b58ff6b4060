#include "converter/options.h"

#include <windows.h>
#include <cstdarg>
#include <cstring>

#include "converter/backup.h"
#include "converter/backup_name.h"
#include "converter/character_walk.h"
#include "converter/text_format.h"
#include "converter/option_rules.h"
#include "converter/output.h"
#include "converter/settings.h"

namespace {

// The Japanese lines are Shift-JIS bytes whatever the encoding of this source file.
const char usage_format[] =
    "EOLFIX ver.1.01\n"
    // 改行コードの一括変換
    "\x89\xfc\x8d\x73\x83\x52\x81\x5b\x83\x68\x82\xcc\x88\xea\x8a\x87\x95\xcf\x8a\xb7"
    "\n"
    "Unify new-line code in whole files under current folder.\n"
    "Target code is Windows(0Dh,0Ah),Macintosh(0Dh),UNIX(0Ah).\n"
    // テキストファイル中の
    "\x83\x65\x83\x4c\x83\x58\x83\x67\x83\x74\x83\x40\x83\x43\x83\x8b\x92\x86\x82\xcc"
    //  Mac改行コード(0Dh)、
    " Mac\x89\xfc\x8d\x73\x83\x52\x81\x5b\x83\x68(0Dh)\x81\x41"
    // UNIX改行コード(0Ah)、
    "UNIX\x89\xfc\x8d\x73\x83\x52\x81\x5b\x83\x68(0Ah)\x81\x41"
    // Windows改行コード(0D0Ah)を、
    "Windows\x89\xfc\x8d\x73\x83\x52\x81\x5b\x83\x68(0D0Ah)\x82\xf0\x81\x41"
    // どれか一種類へ
    "\x82\xc7\x82\xea\x82\xa9\x88\xea\x8e\xed\x97\xde\x82\xd6"
    // 統一します。
    "\x93\x9d\x88\xea\x82\xb5\x82\xdc\x82\xb7\x81\x42"
    "\n"
    // 対象となるファイルは、
    "\x91\xce\x8f\xdb\x82\xc6\x82\xc8\x82\xe9\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x81\x41"
    // カレントフォルダと
    "\x83\x4a\x83\x8c\x83\x93\x83\x67\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xc6"
    // それより下の
    "\x82\xbb\x82\xea\x82\xe6\x82\xe8\x89\xba\x82\xcc"
    // フォルダの、
    "\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xcc\x81\x41"
    // 指定したファイル
    "\x8e\x77\x92\xe8\x82\xb5\x82\xbd\x83\x74\x83\x40\x83\x43\x83\x8b"
    // (*.HTMLなど)です。
    "(*.HTML\x82\xc8\x82\xc7)\x82\xc5\x82\xb7\x81\x42"
    "\n"
    "\n"
    "usage:\n"
    "\t(c:\\)>eolfix [-i] [[-m=]<filemask>] [-o<w|m|u>] [-t]\n"
    "\ti : change 0D0D0Ah -> 0D0Ah.(toggle:now %s)\n"
    "\tm : set file mask. you can omit \"-m=\"\n"
    "\t    now file mask : %s\n"
    "\tow: output Windows type new-line(0D0Ah) %s\n"
    "\tom: output Macintosh type new-line(0Dh) %s\n"
    "\tou: output UNIX type new-line(0Ah) %s\n"
    "\tt : don't change timestamp.(toggle:now %s)\n"
    "\n"
    "Backup setting = %s";

const char *on_off(uint8_t flag) {
    return flag ? "ON" : "OFF";
}

const char *selected(const Settings &record, int32_t kind) {
    return record.output_kind == kind ? "now SELECT" : "";
}

// wsprintfA stops at 1023 bytes wherever that falls; a lead byte left last loses its trail byte,
// so it goes too.
void end_between_characters(char (&buffer)[usage_buffer_size]) {
    buffer[usage_buffer_size - 1] = '\0';
    const size_t length = std::strlen(buffer);
    if (length == usage_buffer_size - 1)
        buffer[whole_character_length(buffer, length, is_ansi_lead_byte)] = '\0';
}

using SystemFormatter = decltype(&wvsprintfA);

// wvsprintfA is wsprintfA taking its values as a list. USER32.DLL is loaded for it only when a
// screen is printed: a converting run never formats with it, and loading the library at start
// costs every run a noticeable part of its time. Looked up once; the run ends after the screen,
// so the library stays loaded until then. Null when the library or the function can't be had.
SystemFormatter system_formatter() {
    static bool looked = false;
    static SystemFormatter formatter = nullptr;
    if (!looked) {
        looked = true;
        if (HMODULE user = LoadLibraryA("USER32.DLL"))
            formatter = reinterpret_cast<SystemFormatter>(
                reinterpret_cast<void (*)()>(GetProcAddress(user, "wvsprintfA")));
    }
    return formatter;
}

// Formats into buffer, cut at 1023 bytes and between characters. Without USER32.DLL the
// program's own formatter gives the same text (these formats hold only %s), cut where
// wsprintfA's would be: at 1023 bytes and a zero.
void format_bounded(char (&buffer)[usage_buffer_size], UsageFormatter formatter, const char *format,
                    ...) {
    va_list values;
    va_start(values, format);
    const SystemFormatter system =
        formatter == UsageFormatter::system ? system_formatter() : nullptr;
    if (system != nullptr)
        system(buffer, format, values);
    else
        format_list(buffer, usage_buffer_size, format, values);
    va_end(values);
    end_between_characters(buffer);
}

void print_line(const char (&buffer)[usage_buffer_size]) {
    print_format("%s\n", buffer);
}

} // namespace

void format_usage_screen(char (&buffer)[usage_buffer_size], const Settings &record,
                         UsageFormatter formatter) {
    format_bounded(buffer, formatter, usage_format, on_off(record.repair_flag), record.file_mask,
                   selected(record, newline_windows), selected(record, newline_mac),
                   selected(record, newline_unix), on_off(record.keep_time_flag),
                   describe_backup(record.backup_flag, record.backup_target, is_ansi_lead_byte));
}

void show_usage(const char *error_format, const char *argument) {
    char buffer[usage_buffer_size];
    if (error_format != nullptr) {
        format_bounded(buffer, UsageFormatter::system, error_format, argument);
        print_line(buffer);
    }
    format_usage_screen(buffer, settings);
    print_line(buffer);
}

bool apply_options(int argc, char **argv) {
    const char *stopper = nullptr;
    switch (walk_options(argc, argv, settings, &stopper)) {
    case options_go_on:
        return true;
    case options_usage:
        show_usage(nullptr, nullptr);
        return false;
    case options_illegal:
        show_usage("Error-illegal option : %s", stopper);
        return false;
    case options_mask_too_long:
        print_format("Error-file mask longer than %d characters.\n", file_mask_size - 1);
        return false;
    }
    return false;
}
