#include "show/show.h"

// The command line is ignored: the show always starts the same way, and it
// ends with 0 whatever happens (what went wrong is on stderr).
int main() {
    runShow();
    return 0;
}
