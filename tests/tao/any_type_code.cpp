// libTAO_AnyTypeCode: initialised by the POA's registration, registering
// itself with the ORB core in turn.
int TAO_ORB_Core_register_service(const char* name);
int TAO_AnyTypeCode_init();

int TAO_AnyTypeCode_init() { return TAO_ORB_Core_register_service("AnyTypeCode_Adapter"); }
