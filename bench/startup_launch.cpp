// Starts a program for the start-up bench: prints the monotonic clock, then becomes the
// program (exec keeps the process), so the program's own "first frame at" line, on the same
// clock, tells how long it took from launch to its first frame.
// Usage: brisalo_startup_launch <program> [arguments]
#include <unistd.h>

#include <cstdio>

#include "monotonic_clock.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s <program> [arguments]\n", argv[0]);
        return 2;
    }
    printf("launch at %.3f ms on the monotonic clock\n", BenchMonotonicMs());
    fflush(stdout);
    execv(argv[1], argv + 1);
    perror(argv[1]);
    return 127;
}
