// The floor of a small pvxhost command for bench_command_costs: a program linked against the
// libraries pvxhost links, which loads the results module (its first argument) as `info` does
// and does nothing else.
#include <dlfcn.h>

int main(int argc, char** argv) { return argc > 1 && !dlopen(argv[1], RTLD_NOW | RTLD_LOCAL) ? 1 : 0; }
