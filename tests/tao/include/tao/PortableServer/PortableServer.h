// TAO-shaped portable-server header: as TAO's own, every file that includes
// it registers the POA through a file-scope static, before main() or as its
// library is loaded.
#ifndef TAO_PORTABLESERVER_H
#define TAO_PORTABLESERVER_H

class __attribute__((visibility("default"))) TAO_POA_Initializer {
public:
    // Registers the POA with the ORB; 0 on success.
    static int init();
};

// Not in the library that defines init().
#if !defined(TAO_PORTABLESERVER_BUILD_DLL)
static int TAO_Requires_POA_Initializer = TAO_POA_Initializer::init();
#endif

#endif
