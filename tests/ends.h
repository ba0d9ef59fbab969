// How a run of the code under test ended, for the unit tests and the fuzzer
// (ends.cpp, linked in place of exits.cpp).
#ifndef ENDS_H
#define ENDS_H

#include <csetjmp>

enum { endaccepted = -1, endnotlibrary = 0, endioerror = 1 };
extern jmp_buf endback;
void arm();   // the next end of a run comes back to setjmp(endback)
int ended();  // how it ended: endaccepted when it ran to its end

#endif
