// The lead-byte rule of code page 932 (Shift-JIS) as the tests and fuzz targets know it,
// written out apart from the code under test, which takes it from the system or as a given
// predicate: a lead byte is one of 81h to 9Fh or E0h to FCh.
#ifndef TESTS_CODE_PAGE_932_H
#define TESTS_CODE_PAGE_932_H

inline bool cp932_lead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

#endif
