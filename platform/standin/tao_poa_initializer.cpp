// Stand-in for TAO's POA registration, built when TAO is absent. It only
// journals the call, so tests can count how often loading made it.
#include "platform/tao_poa_initializer.h"

#include "state.h"

int TAO_POA_Initializer::init() {
    qx_standin::detail::Record(
        qx_standin::CallRecord(qx_standin::Call::TaoPoaInit, "TAO_POA_Initializer::init() = 0"));
    return 0;
}
