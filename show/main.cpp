#include "show/show.h"

// The command line is ignored: the show always starts the same way.
int main() { return runShow(); }
