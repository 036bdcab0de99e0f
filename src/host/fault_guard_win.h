// The last-chance fault guard around the one mode a process runs. MinGW has
// no __try, so the guard is built from the platform's own structured
// exception handling: on i686 a registration record on the stack linked into
// the thread's handler chain, on x86_64 a frame whose unwind data names the
// guard's handler. A fault that escapes from the mode reaches the guard's
// filter, which hands it to UnhandledExceptionFilter and follows its answer:
// "execute the handler" unwinds the stack back to the guard, runs onFault and
// makes the guard return GuardFaultResult; "continue the search" lets the
// fault go on to the system; "continue execution" resumes the faulting code.
//
// Called by SaverMain around the switch and its mode; tests fault on purpose
// inside a guarded mode. Not re-entrant across threads: one GUI thread.
#pragma once

#include <cstdint>

constexpr int32_t GuardFaultResult = -1;

typedef int32_t (*GuardedMode)(void* context);

// Runs mode(context) under the guard and returns its result, or
// GuardFaultResult after a fault (onFault, when not null, has run then).
int32_t RunGuarded(GuardedMode mode, void* context, void (*onFault)());
