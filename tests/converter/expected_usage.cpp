#include "expected_usage.h"

#include <windows.h>

#include <vector>

std::string shift_jis(const char *utf8) {
    const int wide_length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(wide_length));
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), wide_length);
    const int length = WideCharToMultiByte(932, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> bytes(static_cast<size_t>(length));
    WideCharToMultiByte(932, 0, wide.data(), -1, bytes.data(), length, nullptr, nullptr);
    return std::string(bytes.data());
}

std::string expected_usage(const UsageValues &v) {
    auto marker = [&](int kind) { return std::string(v.kind == kind ? "now SELECT" : ""); };
    return "EOLFIX ver.1.01\n" + shift_jis(u8"改行コードの一括変換") +
           "\n"
           "Unify new-line code in whole files under current folder.\n"
           "Target code is Windows(0Dh,0Ah),Macintosh(0Dh),UNIX(0Ah).\n" +
           shift_jis(u8"テキストファイル中の Mac改行コード(0Dh)、UNIX改行コード(0Ah)、"
                     u8"Windows改行コード(0D0Ah)を、どれか一種類へ統一します。") +
           "\n" +
           shift_jis(u8"対象となるファイルは、カレントフォルダとそれより下のフォルダの、"
                     u8"指定したファイル(*.HTMLなど)です。") +
           "\n"
           "\n"
           "usage:\n"
           "\t(c:\\)>eolfix [-i] [[-m=]<filemask>] [-o<w|m|u>] [-t]\n"
           "\ti : change 0D0D0Ah -> 0D0Ah.(toggle:now " +
           v.repair +
           ")\n"
           "\tm : set file mask. you can omit \"-m=\"\n"
           "\t    now file mask : " +
           v.mask +
           "\n"
           "\tow: output Windows type new-line(0D0Ah) " +
           marker(1) +
           "\n"
           "\tom: output Macintosh type new-line(0Dh) " +
           marker(2) +
           "\n"
           "\tou: output UNIX type new-line(0Ah) " +
           marker(3) +
           "\n"
           "\tt : don't change timestamp.(toggle:now " +
           v.keep_time +
           ")\n"
           "\n"
           "Backup setting = " +
           v.backup;
}
