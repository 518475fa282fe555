// pvxhost: the headless host program of the results module. The commands are in their own
// files (HostCommand.h).
#include "host/app/HostCommand.h"

int main(int argc, char** argv) { return RunHostCommandLine(argc, argv); }

#if defined(__SANITIZE_ADDRESS__)
// In sanitizer builds the leak checker would end every run with the list of the suppressions it
// used (platform/gl/LeakSuppressions.cpp): the program's messages are its own.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
