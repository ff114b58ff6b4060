#include "converter/write_behind.h"

#include "converter/file_handle.h"

namespace {

// The two threads hand a job over and back through flags that one side sets and the other
// takes; only an exchange (xchg, a barrier for both the processor and the compiler) touches
// them, since Windows 95 has no compare-exchange to build anything finer with.
LONG exchange(volatile LONG *flag, LONG value) {
    return __atomic_exchange_n(flag, value, __ATOMIC_SEQ_CST);
}

// A thread waiting for a flag first yields a while, since a job takes tens of microseconds and a
// wake through an event costs as much; then it sleeps on its event until the other side sets
// the flag. asleep tells the setter that the event must be signalled. A signal that comes after
// the waiter found its flag anyway is left over and wakes a later wait early, which only looks
// at the flag again.
struct Waiter {
    volatile LONG asleep;
    HANDLE wake;
};

const int yields_before_sleep = 2000;

void take(volatile LONG *flag, Waiter &waiter) {
    for (int i = 0; i < yields_before_sleep; ++i) {
        if (exchange(flag, 0) != 0)
            return;
        Sleep(0);
    }
    for (;;) {
        exchange(&waiter.asleep, 1);
        if (exchange(flag, 0) != 0) {
            exchange(&waiter.asleep, 0);
            return;
        }
        WaitForSingleObject(waiter.wake, INFINITE);
        if (exchange(flag, 0) != 0)
            return;
    }
}

void give(volatile LONG *flag, Waiter &waiter) {
    exchange(flag, 1);
    if (exchange(&waiter.asleep, 0) != 0)
        SetEvent(waiter.wake);
}

enum class JobKind { write, close };

struct Job {
    JobKind kind;
    HANDLE file;
    uint32_t offset;
    const uint8_t *bytes;
    uint32_t size;
    bool succeeded; // the answer, with error
    DWORD error;
};

// Written by the converter's thread before the job is given, read by it after it is done.
Job job;
volatile LONG job_given = 0, job_done = 0;
Waiter worker_waiter = {0, nullptr}, converter_waiter = {0, nullptr};
bool job_out = false;
// 0: no thread tried yet; 1: the thread runs; -1: none could be had, jobs run at once.
int worker_state = 0;

void do_job(Job &work) {
    work.succeeded = work.kind == JobKind::write
                         ? write_at(work.file, work.offset, work.bytes, work.size)
                         : CloseHandle(work.file) != 0;
    work.error = work.succeeded ? NO_ERROR : GetLastError();
}

DWORD WINAPI work_behind(void *) {
    for (;;) {
        take(&job_given, worker_waiter);
        do_job(job);
        give(&job_done, converter_waiter);
    }
}

// The thread, made at the first job. The process's end stops it, parked or between jobs: no
// job is out then, as every one is waited for before the run reports.
bool have_worker() {
    if (worker_state == 0) {
        worker_waiter.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        converter_waiter.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        DWORD id = 0;
        HANDLE thread = nullptr;
        if (worker_waiter.wake != nullptr && converter_waiter.wake != nullptr)
            thread = CreateThread(nullptr, 64 * 1024, work_behind, nullptr, 0, &id);
        worker_state = thread != nullptr ? 1 : -1;
        // The thread's handle is not needed: nothing waits for its end.
        if (thread != nullptr) {
            CloseHandle(thread);
        } else {
            if (worker_waiter.wake != nullptr)
                CloseHandle(worker_waiter.wake);
            if (converter_waiter.wake != nullptr)
                CloseHandle(converter_waiter.wake);
        }
    }
    return worker_state == 1;
}

void hand_over(const Job &work) {
    job = work;
    job_out = true;
    if (have_worker())
        give(&job_given, worker_waiter);
    else
        do_job(job);
}

} // namespace

void behind_write(HANDLE file, uint32_t offset, const uint8_t *bytes, uint32_t size) {
    hand_over(Job{JobKind::write, file, offset, bytes, size, false, NO_ERROR});
}

void behind_close(HANDLE file) {
    hand_over(Job{JobKind::close, file, 0, nullptr, 0, false, NO_ERROR});
}

bool behind_busy() {
    return job_out;
}

bool behind_wait() {
    if (!job_out)
        return true;
    job_out = false;
    if (worker_state == 1)
        take(&job_done, converter_waiter);
    if (!job.succeeded)
        SetLastError(job.error);
    return job.succeeded;
}
