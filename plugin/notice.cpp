// The notice text in Shift-JIS bytes, and the box that shows it.
#include "plugin/notice.h"

int MyCopyRight() {
    // "Lumbra.hpi: a plug-in for using a rich edit control from HSP."
    static const char notice[] =
        "Lumbra.hpi ver 0.4.5.1\r\n"
        "HSP \x82\xc5\x83\x8a\x83\x62\x83\x60\x83\x47\x83\x66\x83\x42\x83\x62\x83\x67\x82\xf0"
        "\x97\x98\x97\x70\x82\xb7\x82\xe9 Plug-in \x82\xc5\x82\xb7";
    return MessageBoxA(nullptr, notice, "Torvin.hpi", MB_OK | MB_ICONINFORMATION);
}
