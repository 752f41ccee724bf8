// Application manager of the platform: carries registration requests to the
// message dispatch process (MDP) and hands back its answer. Declarations only.
#pragma once

#include <cstddef>
#include <cstdint>

// A registration request as the MDP reads it: 24 bytes, host byte order.
// The fields named unused carry nothing the MDP reads.
struct RegReqFrame {
    std::uint8_t msgType;  // 9 for a registration; echoed by the response
    std::uint8_t unused1;
    std::uint16_t firstArg;
    std::uint16_t unused4;
    std::uint16_t zero6;
    std::uint16_t secondArg;
    std::uint16_t unused10;
    std::uint16_t zero12;
    std::uint8_t thirdArg;
    std::uint8_t unused15;
    std::uint16_t zero16;
    std::uint16_t unused18;
    std::uint32_t fourthArg;
};

// The MDP's answer; allocated by the application manager with new, owned and
// deleted by whoever sent the request.
struct RespToRegFrame {
    std::uint8_t echo;    // the request's msgType when the answer is valid
    std::uint8_t result;  // 0 accepted, anything else a refusal code
};

static_assert(sizeof(RegReqFrame) == 24, "the MDP reads 24 request bytes");
static_assert(alignof(RegReqFrame) == alignof(std::uint32_t), "aligned for fourthArg");
static_assert(offsetof(RegReqFrame, msgType) == 0, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, unused1) == 1, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, firstArg) == 2, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, unused4) == 4, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, zero6) == 6, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, secondArg) == 8, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, unused10) == 10, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, zero12) == 12, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, thirdArg) == 14, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, unused15) == 15, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, zero16) == 16, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, unused18) == 18, "the MDP reads each field at its offset");
static_assert(offsetof(RegReqFrame, fourthArg) == 20, "the MDP reads each field at its offset");

static_assert(sizeof(RespToRegFrame) == 2, "the MDP answers with 2 bytes");
static_assert(offsetof(RespToRegFrame, echo) == 0, "the MDP writes each field at its offset");
static_assert(offsetof(RespToRegFrame, result) == 1, "the MDP writes each field at its offset");

class ZorvAppMgr {
public:
    // Never null.
    static ZorvAppMgr* Instance();

    // Non-zero when the request reached the MDP and an answer came back:
    // `response` then points to a new RespToRegFrame the caller deletes. Zero
    // on failure; `response` is then not to be read or deleted.
    int ZorvSendRegReqMsgToMDP(unsigned char, RegReqFrame* request, RespToRegFrame*& response, int);
};
