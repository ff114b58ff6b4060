#include "converter/startup.h"

#include <windows.h>

#include "converter/command_line.h"
#include "converter/lead_byte.h"
#include "converter/memory.h"
#include "converter/output.h"
#include "converter/run.h"
#include "converter/settings.h"

int start_program() {
    int count = 0;
    char **arguments = split_command_line(GetCommandLineA(), is_ansi_lead_byte, &count);
    int code = 1;
    if (arguments == nullptr) {
        print_format("Error-not enough memory for the command line.\n");
    } else {
        code = run(count, arguments);
        memory_release(arguments);
    }
    mask_list.clear();
    print_flush();
    return code;
}

// The system hands over a stack aligned to 4 bytes only; the code below may assume 16.
extern "C" __attribute__((force_align_arg_pointer, noreturn)) void eolfix_start() {
    ExitProcess(static_cast<UINT>(start_program()));
}
