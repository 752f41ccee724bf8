// What loading the library does: the standard streams are set up and TAO's
// portable object adapter is registered, once. No facade, no consumer and no
// trace record are created here.
#include <iostream>

#if defined(QX_WITH_TAO)
// TAO's portable-server header registers the POA from every file that
// includes it; this is the one file of the library that does.
#include <tao/PortableServer/PortableServer.h>
#else
#include "platform/tao_poa_initializer.h"

namespace {

[[maybe_unused]] const int g_poaRegistered = TAO_POA_Initializer::init();

}  // namespace
#endif
