// The test executable doubles as the child process of the fault-guard tests:
// started with one of these arguments it faults and ends without GoogleTest.
#pragma once

constexpr const char* FaultChildGuarded = "--fault-child-guarded";
constexpr const char* FaultChildUnguarded = "--fault-child-unguarded";

// Runs the child's part when the command line asks for it; never returns then.
void RunFaultChildIfAsked(int argc, char** argv);
