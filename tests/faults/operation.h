// One exported operation of the library, set up so that it can be run again
// and again from the same starting state and judged after every run, whether
// the run completed or an injected failure ended it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qx_faults {

struct Attempt {
    // The operation itself. Everything it needs (inputs, outputs, objects)
    // was made beforehand, so that the call allocates only what the library
    // and the platform allocate.
    std::function<void()> call;
    // Judges what the run left behind: results, the caller's containers and
    // buffers, the singletons. `completed` is false when an exception left
    // the call. Runs with failures disarmed and may use the library.
    std::function<void(bool completed)> check;
};

struct Operation {
    std::string name;
    // Brings the stand-in and the singletons to the starting state, clears
    // the journal and returns the run.
    std::function<Attempt()> prepare;
    // The operation catches every exception itself (the facade's Destroy).
    bool swallows = false;
};

// The table, by subsystem; together they cover every exported operation.
std::vector<Operation> AdminRegistryOperations();
std::vector<Operation> SecurityScopeOperations();
std::vector<Operation> NeQueryOperations();
std::vector<Operation> EventOperations();
std::vector<Operation> ReloadOperations();

std::vector<Operation> ExportedOperations();

}  // namespace qx_faults
