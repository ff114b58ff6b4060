// The four exports over a script's string and integer variables: the text goes whole or is cut
// short of the variable's end, never inside a double-byte character.
#include "plugin/text.h"

#include "plugin/ansi_text.h"
#include "plugin/host_variable.h"
#include "plugin/plugin_state.h"
#include "plugin/whole_text.h"

#include <richedit.h>

#include <cstdint>

// The two text exports test the variable first and use -2 for a missing control; the two count
// exports run the guard first and use -2 for a variable of the wrong type.
enum : int {
    textDone = 0,
    textNotString = -1,
    textNoControl = -2,
    countDone = 0,
    countNoControl = -1,
    countNotInteger = -2,
};

// The checks of both text exports, in their order: a string variable with room for at least
// the terminator, then a live control. A variable without room is refused as one of the wrong
// type is, whether or not a control exists. Answers 0 with the variable's storage and capacity,
// or the refusal to return; nothing is written before it answers 0.
static int stringTarget(int variableAddress, char **text, int32_t *capacity) {
    HostVariable *variable = hostVariableAt(variableAddress);
    if (variable->type != hostTypeString)
        return textNotString;
    *capacity = variableCapacity(*variable);
    if (*capacity <= 0)
        return textNotString;
    if (!controlAlive())
        return textNoControl;
    *text = static_cast<char *>(variable->data);
    return textDone;
}

// _REditSetText@16: replaces the control's text by the variable's, after cutting a text that
// fills its buffer to one byte less (two when a character would be split) in the variable
// itself. 0 done; -1 not a string variable
// (or one without storage), -2 no control: on both refusals nothing is written.
int __stdcall REditSetText(int variableAddress, int, int, int) {
    char *text;
    int32_t capacity;
    if (int refusal = stringTarget(variableAddress, &text, &capacity))
        return refusal;
    // A text that fills its buffer carries no terminator of its own, and the cut must not hand
    // the control half a character.
    cutText(text, capacity);
    SetWindowTextA(controlSlot.control, text);
    return textDone;
}

// _REditGetText@16: copies the control's text into the variable, cut to its capacity less one
// byte and never inside a double-byte character. Minus the number of bytes copied (0 for an
// empty control); -1 not a string variable (or one without storage), -2 no control: on both
// refusals nothing is written.
int __stdcall REditGetText(int variableAddress, int, int, int) {
    char *text;
    int32_t capacity;
    if (int refusal = stringTarget(variableAddress, &text, &capacity))
        return refusal;
    // The count is taken from the bytes that arrived, not from the control's answer: a control
    // that converts its text into the code page can fill the buffer and still answer 0 when
    // the text does not fit, and it can leave the last byte alone or cut a character in half.
    // Cleared first, so that a control that writes nothing cannot pass the old text off as its.
    text[0] = '\0';
    GetWindowTextA(controlSlot.control, text, capacity);
    text[capacity - 1] = '\0';
    int32_t length = wholeTextLength(text, capacity, ansiLeadBytes());
    text[length] = '\0';
    return -length;
}

// _GetREditLength@16: stores the control's text length in the integer variable. 0 done; -1 no
// control, -2 not an integer variable: on both refusals nothing is written.
int __stdcall GetREditLength(int variableAddress, int, int, int) {
    if (!controlAlive())
        return countNoControl;
    HostVariable *variable = hostVariableAt(variableAddress);
    if (variable->type != hostTypeInteger)
        return countNotInteger;
    *static_cast<int32_t *>(variable->data) = GetWindowTextLengthA(controlSlot.control);
    return countDone;
}

// _GetREditLines@16: stores the control's line count in the integer variable. 0 done; -1 no
// control, -2 not an integer variable: on both refusals nothing is written.
int __stdcall GetREditLines(int variableAddress, int, int, int) {
    if (!controlAlive())
        return countNoControl;
    HostVariable *variable = hostVariableAt(variableAddress);
    if (variable->type != hostTypeInteger)
        return countNotInteger;
    int length = GetWindowTextLengthA(controlSlot.control);
    // The line of the last character is the last line; an empty control asks about index -1.
    LRESULT lastLine = SendMessageA(controlSlot.control, EM_EXLINEFROMCHAR, 0, length - 1);
    *static_cast<int32_t *>(variable->data) = static_cast<int32_t>(lastLine) + 1;
    return countDone;
}
