// pvxhost: the headless host program of the results module. The commands are in their own
// files (HostCommand.h).
#include "host/app/HostCommand.h"

int main(int argc, char** argv) { return RunHostCommandLine(argc, argv); }
