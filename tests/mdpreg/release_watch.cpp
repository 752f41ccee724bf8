// Reports every block this test binary frees to the stand-in, which then
// knows which of its registration responses were released.
#include "allocation_seam.h"
#include "qx_standin/app_mgr.h"

namespace {

void NoteRelease(void* block) { qx_standin::NoteResponseReleased(block); }

const bool kWatchingReleases = (qx_test::SetReleaseObserver(&NoteRelease), true);

}  // namespace
