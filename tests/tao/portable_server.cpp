// libTAO_PortableServer: the POA initializer, which writes one line per call
// to stderr so that a process shows how often loading ran it.
#include "tao/PortableServer/PortableServer.h"

#include <cstdio>

int TAO_ORB_Core_register_service(const char* name);
int TAO_AnyTypeCode_init();

namespace {
int g_calls = 0;
}

int TAO_POA_Initializer::init() {
    std::fprintf(stderr, "TAO_POA_Initializer::init() call %d\n", ++g_calls);
    return TAO_AnyTypeCode_init() + TAO_ORB_Core_register_service("POA");
}
