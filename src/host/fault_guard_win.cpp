// The guard's two platform variants. Both hand the fault to
// UnhandledExceptionFilter exactly once and, when it chooses the handler,
// unwind every frame between the fault and the guard (so that termination
// handlers of the system's own code below us run, and its locks are let go)
// before control comes back to RunGuarded.
#include "host/fault_guard_win.h"

#include <windows.h>

// What the filter decides, as the dispatcher wants it from a frame handler.
static EXCEPTION_DISPOSITION FilterFault(EXCEPTION_RECORD* record, CONTEXT* context,
                                         bool* executeHandler)
{
    *executeHandler = false;
    EXCEPTION_POINTERS pointers = {record, context};
    const LONG answer = UnhandledExceptionFilter(&pointers);
    if (answer == EXCEPTION_CONTINUE_EXECUTION) return ExceptionContinueExecution;
    if (answer == EXCEPTION_EXECUTE_HANDLER) *executeHandler = true;
    return ExceptionContinueSearch;
}

static bool IsUnwinding(const EXCEPTION_RECORD* record)
{
    return (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0;
}

#if defined(__x86_64__)

// x86_64 handling is table-driven: GuardedCall is written out by hand so that
// its unwind data can name GuardHandler as its exception handler, which no
// compiler attribute offers. It calls mode(context) and hands back the
// 32-bit result zero-extended; after a fault the unwinder resumes it at
// GuardResume with FaultMarker in rax instead, a value no 32-bit result
// zero-extended can take. At GuardResume the stack pointer is that of
// GuardedCall's body again, so its epilogue runs as after a normal return.
extern "C" uint64_t GuardedCall(GuardedMode mode, void* context);
extern "C" EXCEPTION_DISPOSITION GuardHandler(EXCEPTION_RECORD* record, void* frame,
                                              CONTEXT* context, void* dispatch);
extern "C" char GuardResume[];

static constexpr uint64_t FaultMarker = 0x100000000u;

__asm__(".text\n"
        ".p2align 4\n"
        ".globl GuardedCall\n"
        ".def GuardedCall; .scl 2; .type 32; .endef\n"
        ".seh_proc GuardedCall\n"
        "GuardedCall:\n"
        "    .seh_handler GuardHandler, @except\n"
        "    subq $40, %rsp\n"
        "    .seh_stackalloc 40\n"
        "    .seh_endprologue\n"
        "    movq %rcx, %rax\n"
        "    movq %rdx, %rcx\n"
        "    call *%rax\n"
        "    movl %eax, %eax\n"
        ".globl GuardResume\n"
        "GuardResume:\n"
        "    addq $40, %rsp\n"
        "    ret\n"
        ".seh_endproc\n");

extern "C" EXCEPTION_DISPOSITION GuardHandler(EXCEPTION_RECORD* record, void* frame,
                                              CONTEXT* context, void*)
{
    if (IsUnwinding(record)) return ExceptionContinueSearch;
    bool executeHandler = false;
    const EXCEPTION_DISPOSITION disposition = FilterFault(record, context, &executeHandler);
    if (!executeHandler) return disposition;
    // Does not return: unwinds to GuardedCall's frame and goes on at
    // GuardResume with FaultMarker as the call's result.
    RtlUnwind(frame, GuardResume, record, reinterpret_cast<void*>(FaultMarker));
    return ExceptionContinueSearch;
}

int32_t RunGuarded(GuardedMode mode, void* context, void (*onFault)())
{
    const uint64_t outcome = GuardedCall(mode, context);
    if (outcome == FaultMarker) {
        if (onFault) onFault();
        return GuardFaultResult;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(outcome));
}

#elif defined(__i386__)

// i686 handling is frame-chain based: the thread's chain of registration
// records starts at the thread information block's ExceptionList. The record must come first in
// GuardFrame, since the dispatcher hands its address to the handler as the
// establisher frame, and the handler finds the resume point beside it.
struct GuardFrame {
    EXCEPTION_REGISTRATION_RECORD Registration;
    void* Resume[5]; // __builtin_setjmp's buffer
};

// The head of the chain is the first field of the thread information block
// (NT_TIB::ExceptionList), which fs addresses on i386. Read and written
// directly: NtCurrentTeb's header form trips GCC's array-bounds check.
static EXCEPTION_REGISTRATION_RECORD* ChainHead()
{
    EXCEPTION_REGISTRATION_RECORD* head;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

static void SetChainHead(EXCEPTION_REGISTRATION_RECORD* head)
{
    __asm__ volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

// The i386 RtlUnwind is not bound to keep the caller's ebx, esi, edi and ebp
// (compilers that offer __try wrap it for that reason too), so the handler
// reaches it through this wrapper, which saves them around the call.
extern "C" void __cdecl UnwindBelow(void* frame, EXCEPTION_RECORD* record);
__asm__(".text\n"
        ".p2align 4\n"
        ".globl _UnwindBelow\n"
        ".def _UnwindBelow; .scl 2; .type 32; .endef\n"
        "_UnwindBelow:\n"
        "    pushl %ebp\n"
        "    pushl %ebx\n"
        "    pushl %esi\n"
        "    pushl %edi\n"
        "    pushl $0\n"       // ReturnValue
        "    pushl 28(%esp)\n" // ExceptionRecord
        "    pushl $0\n"       // TargetIp: on i386 RtlUnwind returns instead
        "    pushl 32(%esp)\n" // TargetFrame
        "    call *__imp__RtlUnwind@16\n"
        "    popl %edi\n"
        "    popl %esi\n"
        "    popl %ebx\n"
        "    popl %ebp\n"
        "    ret\n");

extern "C" EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* record, void* frame,
                                                      CONTEXT* context, void*)
{
    if (IsUnwinding(record)) return ExceptionContinueSearch;
    bool executeHandler = false;
    const EXCEPTION_DISPOSITION disposition = FilterFault(record, context, &executeHandler);
    if (!executeHandler) return disposition;
    GuardFrame* guard = static_cast<GuardFrame*>(frame);
    // Once every record above ours (the dispatcher's own among them) has been
    // unwound, ours heads the chain; leaving it is the guard's own business.
    UnwindBelow(frame, record);
    SetChainHead(guard->Registration.Next);
    __builtin_longjmp(guard->Resume, 1);
}

int32_t RunGuarded(GuardedMode mode, void* context, void (*onFault)())
{
    GuardFrame guard;
    guard.Registration.Next = ChainHead();
    guard.Registration.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(GuardHandler);
    if (__builtin_setjmp(guard.Resume)) {
        if (onFault) onFault();
        return GuardFaultResult;
    }
    SetChainHead(&guard.Registration);
    const int32_t result = mode(context);
    SetChainHead(guard.Registration.Next);
    return result;
}

#else
#error "the fault guard knows only i686 and x86_64"
#endif
