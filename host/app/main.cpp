// pvxhost: the headless host program of the results module. The commands are in their own
// files (HostCommand.h).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>

#include "host/app/HostCommand.h"
#include "host/app/HostOutput.h"
#include "platform/afx/HugeHeap.h"
#include "platform/afx/WorkCrew.h"

int main(int argc, char** argv) {
    // PVXHOST_HUGE_HEAP=0 leaves glibc's heap as it is (the reserve adds 512 MB to the
    // process's address space and data size; see docs/ARCHITECTURE.md).
    if (const char* h = std::getenv("PVXHOST_HUGE_HEAP"); !h || std::strcmp(h, "0") != 0) PutHeapOnHugePages();
    // A write past the file-size limit (ulimit -f) fails with EFBIG, and the writer refuses with
    // "File too large" and keeps the earlier file, rather than the signal ending the program.
    signal(SIGXFSZ, SIG_IGN);
#if defined(PVX_FAULT_HOOKS)
    // Where a test makes helper threads fail: PVXHOST_FAULT=threads-made-N lets the run make N
    // helper threads, the next refused as when the system has none to give. Test builds only.
    std::optional<WorkCrew::TestLimit> threadLimit;
    if (const char* f = std::getenv("PVXHOST_FAULT"); f && std::strncmp(f, "threads-made-", 13) == 0)
        threadLimit.emplace(0, std::atoi(f + 13));
#endif
    try {
        return RunHostCommandLine(argc, argv);
    } catch (const std::bad_alloc&) {
        // The stack is unwound by now, so the writers have removed their temporary files and
        // the memory is back; whatever a writer left is removed here.
        RemoveOutputTemps();
        try {
            HostMessage("out of memory: the command needs more memory than the system gives it; it stopped, and the files it was writing were removed");
        } catch (const std::bad_alloc&) {
            std::fputs("pvxhost: out of memory; the files being written were removed\n", stderr);
        }
        return HOST_EXIT_FAILED;
    }
}

#if defined(__SANITIZE_ADDRESS__)
// In sanitizer builds the leak checker would end every run with the list of the suppressions it
// used (platform/gl/LeakSuppressions.cpp): the program's messages are its own.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
