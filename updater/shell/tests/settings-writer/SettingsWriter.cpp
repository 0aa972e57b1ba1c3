// Writes the pending-update flag of the client folder given, TRUE and FALSE
// in turn, until it is killed; it says "writing" on its standard output
// first, so that the test kills it only once the writes have begun.
#include "install/ClientFiles.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::puts("writing");
    std::fflush(stdout);
    for (bool pending = true;; pending = !pending) WritePendingUpdateFlag(argv[1], pending);
}
