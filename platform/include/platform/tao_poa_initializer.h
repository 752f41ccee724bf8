// TAO's registration of the portable object adapter, declared for builds
// without TAO: the stand-in platform then defines it.
#pragma once

class TAO_POA_Initializer {
public:
    static int init();
};
