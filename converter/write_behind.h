// The file system's slow part of a conversion, done by a second thread behind the converter:
// the write of one converted slice while the next one is converted, and the close of a file
// while the walk goes on to the next. A close can cost as much as the file's read and write
// (under Wine a request to its server; on Windows, a virus scanner may look at each written
// file as it is closed), and the converter need not wait for it until it has something to say.
//
// One job is out at a time, and each is settled by behind_wait before the next is handed over,
// so the effects on the disk come in the order the converter asks for them. Where no thread
// can be had, each job is done at once as it is handed over, with the same answers.
#ifndef CONVERTER_WRITE_BEHIND_H
#define CONVERTER_WRITE_BEHIND_H

#include <windows.h>

#include <cstdint>

// Writes all size bytes at offset of file, leaving the file's position after them, as
// write_whole does. bytes stay untouched by the caller until behind_wait has answered.
// Only when no job is out.
void behind_write(HANDLE file, uint32_t offset, const uint8_t *bytes, uint32_t size);

// Closes file. Only when no job is out.
void behind_close(HANDLE file);

// Whether a job was handed over that behind_wait has not yet answered.
bool behind_busy();

// Waits for the job out, if any. True when it succeeded or none was out; false when it failed,
// with the calling thread's last error set to the one the job met. No job is out afterwards.
bool behind_wait();

#endif
