/// @file
/// Controls of the stand-in application manager (ZorvAppMgr): script what a
/// registration send answers and check that every response it handed out was
/// released exactly once. Thread-safe; Reset() and ResetEmpty() bring back
/// the defaults below. qx_standin/standin.h includes this header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx_standin {

// ---- Scripted sends ---------------------------------------------------------
// Queued answers are used first-in first-out; a send with nothing queued
// answers with the default response.

/// Queues an answer: the send returns `sendResult` (non-zero: delivered) and
/// hands out a new response (`echo`, `result`). The library reads a response
/// as accepted when `echo` is 9, its request's type, and `result` is 0. With
/// `sendResult` 0, the platform's failure, nothing is handed out: `response`
/// points to a frame of the stand-in's holding (`echo`, `result`), which the
/// caller must neither read nor delete, and no count changes.
void QueueSendResponse(std::uint8_t echo, std::uint8_t result, int sendResult = 1);
/// Queues an answer: the send returns `sendResult` and hands out no response.
/// 0 is the platform's failure; anything else breaks its contract (for
/// robustness tests).
void QueueSendWithoutResponse(int sendResult = 0);
/// The response of sends with nothing queued, returned with 1; (9, 0) after
/// Reset(): the MDP accepts.
void SetDefaultSendResponse(std::uint8_t echo, std::uint8_t result);

// ---- Response ownership -----------------------------------------------------
// Every response is allocated with new and belongs to the caller, which
// deletes it. The stand-in cannot see a delete by itself: a test process that
// wants the count replaces the global operator delete and reports each pointer
// with NoteResponseReleased() before freeing it.

/// Responses handed out since Reset().
/// @return their number.
std::size_t ResponsesHandedOut();
/// Of the responses handed out since Reset(), the ones not reported released
/// with NoteResponseReleased() yet. Only 1024 can be watched at once: any
/// beyond stay counted as alive.
/// @return their number.
std::size_t ResponsesAlive();
/// Reports that `p` is being freed. Never locks or allocates, so it is safe
/// to call from operator delete at any time, static destruction included.
/// @return true when `p` is a response handed out and not yet reported
/// released; it then counts as released. False for any other pointer.
bool NoteResponseReleased(const void* p) noexcept;

}  // namespace qx_standin
