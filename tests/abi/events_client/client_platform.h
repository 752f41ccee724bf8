// The client's own platform for the event subsystem: it notes every trace
// record and consumer-base call in one sequence, and can fail the static
// object lock or throw from a trace record.
#pragma once

#include <string>
#include <vector>

namespace events_client {

// In call order: a trace record as its text; the consumer base as
// "base(<type>, <flag>, <mode>)", "~base", "unsubscribe"; a trace call of the
// wrong shape as "BAD ...".
std::vector<std::string> Events();
void ClearEvents();

// TAO_POA_Initializer::init() calls so far.
int PoaInitCalls();

// While set, locking the static object lock returns -1.
void FailStaticObjectLock(bool fail);
long StaticLockLocks();
long StaticLockUnlocks();

// The next trace record whose text equals `text` throws at the write.
void ThrowOnRecord(const std::string& text);

}  // namespace events_client
