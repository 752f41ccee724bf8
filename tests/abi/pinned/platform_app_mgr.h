// The application manager as a platform of the client's own defines it: only
// the call shape and the records' sizes are fixed, so the client reads the
// request as the 24 raw bytes that reach the MDP.
#pragma once

struct RegReqFrame {
    alignas(4) unsigned char bytes[24];
};

struct RespToRegFrame {
    unsigned char echo;
    unsigned char result;
};

class ZorvAppMgr {
public:
    static ZorvAppMgr* Instance();
    int ZorvSendRegReqMsgToMDP(unsigned char, RegReqFrame*, RespToRegFrame*&, int);
};
