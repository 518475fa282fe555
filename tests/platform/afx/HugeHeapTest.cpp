// The heap on huge pages, as the kernel reports it; a heap that cannot grow is left working.
// Each row runs in a child process: the heap's settings last as long as the process.
#include "platform/afx/HugeHeap.h"

#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

// smaps' THPeligible of the mapping holding p: whether the kernel would back it with huge pages.
static bool HugeEligible(const void* p) {
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        unsigned long from = 0, to = 0, at = reinterpret_cast<unsigned long>(p);
        if (std::sscanf(line.c_str(), "%lx-%lx ", &from, &to) == 2 && line.find(' ') < line.find(':'))
            inside = at >= from && at < to;
        else if (inside && line.rfind("THPeligible:", 0) == 0)
            return std::atoi(line.c_str() + 12) == 1;
    }
    return false;
}

TEST(HugeHeap, BlocksLandOnHugePagesAndAHeapThatCannotGrowIsLeftAsItWas) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator is not glibc's";
#endif
    if (std::string modes; !std::getline(std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"), modes) ||
                           modes.find("[never]") != std::string::npos)
        GTEST_SKIP() << "no huge pages here";
    const struct {
        const char* label;
        rlim_t addressSpace;
        bool bPut;  // what PutHeapOnHugePages answers
    } rows[] = {{"room for the reserve", RLIM_INFINITY, true},
                {"address space smaller than the reserve", rlim_t{256} << 20, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {  // the exit status has a bit per expectation that failed
            const rlimit lim{row.addressSpace, row.addressSpace};
            if (setrlimit(RLIMIT_AS, &lim) != 0) _exit(64);
            int failed = PutHeapOnHugePages() == row.bPut ? 0 : 1;
            const size_t size = size_t{16} << 20;
            char* block = static_cast<char*>(std::malloc(size));
            if (!block) _exit(failed | 2);
            // Refused, glibc's settings are back: a block this large is mapped on its own.
            if (!row.bPut && mallinfo2().hblkhd < size) failed |= 16;
            std::memset(block, 1, size);
            // The advice starts at the heap's first huge page boundary: the block's end lies past it.
            if (row.bPut && !HugeEligible(block + size - 1)) failed |= 4;
            std::free(block);
            if (row.bPut && std::malloc(size) != block) failed |= 8;  // freed memory stays in the heap
            _exit(failed);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "status " << status << " (1: answer, 2: no block, 4: not on huge pages, 8: memory not kept, 16: settings not restored)";
    }
}
