// The lead-byte rule of the ANSI code page: which bytes begin a double-byte character, so that
// a trail byte 5Ch (the kanji 95h 5Ch) is never taken for '\'.
#ifndef CONVERTER_LEAD_BYTE_H
#define CONVERTER_LEAD_BYTE_H

// The rule as the platform-free parts take it, so that they run natively with a given code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The rule of the system's ANSI code page (Shift-JIS, code page 932, on the systems eolfix
// serves); false for every byte in a single-byte code page. Never fails.
bool is_ansi_lead_byte(unsigned char byte);

#endif
