// Node query of the platform SDK. Declarations only.
#pragma once

class ns_zorvsdk_wrap {
public:
    static bool IsCloudNode();
};
