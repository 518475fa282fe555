// The heap on huge pages: what the kernel reports of the memory blocks land in, and a heap that
// cannot grow leaves the allocator working as before. Each row runs in a child process, since the
// heap's settings last as long as the process.
#include "platform/afx/HugeHeap.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// Whether the kernel would back the mapping holding p with huge pages (smaps' THPeligible).
bool HugeEligible(const void* p) {
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<uintptr_t>(p);
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        unsigned long from = 0, to = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx ", &from, &to) == 2 && line.find(':') > line.find('-')) {
            inside = at >= from && at < to;
        } else if (inside && line.rfind("THPeligible:", 0) == 0) {
            return std::atoi(line.c_str() + 12) == 1;
        }
    }
    return false;
}

bool SystemOffersHugePages() {
    std::ifstream f("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    std::getline(f, modes);
    return modes.find("[never]") == std::string::npos && !modes.empty();
}

}  // namespace

TEST(HugeHeap, BlocksLandOnHugePagesAndAHeapThatCannotGrowIsLeftAsItWas) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator is not glibc's";
#endif
    if (!SystemOffersHugePages()) GTEST_SKIP() << "transparent huge pages are off on this system";
    struct Row {
        const char* label;
        rlim_t addressSpace;  // RLIM_INFINITY: no limit
        bool bPut;            // what PutHeapOnHugePages answers
    } rows[] = {
        {"room for the reserve", RLIM_INFINITY, true},
        {"address space smaller than the reserve", rlim_t{256} << 20, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Exit status: a bit per expectation that failed.
            const rlimit lim{row.addressSpace, row.addressSpace};
            if (row.addressSpace != RLIM_INFINITY && setrlimit(RLIMIT_AS, &lim) != 0) _exit(64);
            int failed = PutHeapOnHugePages() == row.bPut ? 0 : 1;
            const size_t size = size_t{16} << 20;
            void* block = std::malloc(size);
            if (!block) _exit(failed | 2);
            std::memset(block, 1, size);
            if (row.bPut) {
                // The heap's advice starts at its first huge page boundary: the block's end lies past it.
                if (!HugeEligible(static_cast<char*>(block) + size - 1)) failed |= 4;
                std::free(block);
                void* again = std::malloc(size);  // freed memory stays in the heap
                if (again != block) failed |= 8;
                std::free(again);
            } else {
                std::free(block);
            }
            _exit(failed);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: answer, 2: no block, 4: not on huge pages, 8: memory not kept";
    }
}
