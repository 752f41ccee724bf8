// Inside of the stand-in: the one journal, the fault plan and the data set,
// behind one mutex. Every stand-in entry point goes through CheckFault() and
// Record(), with a text rendered from the record's own fields, so that the
// two cannot disagree.
#pragma once

#include <string>

#include "qx_standin/standin.h"

namespace qx_standin::detail {

// Throws InjectedFault, after journaling `record` as thrown, when a fault is
// due for record.call; `record.text` is the call without its result.
void CheckFault(CallRecord record);
// Appends a finished call to the journal.
void Record(CallRecord record);
// Whether calls are journaled: when not, entry points skip rendering their
// journal text, which would otherwise dominate what benchmarks measure.
bool Journaling();

// Renders bytes for a journal text: printable ASCII as is, quotes and
// backslashes escaped, \n as \n, anything else as \xNN.
std::string Escape(const std::string& bytes);

}  // namespace qx_standin::detail
