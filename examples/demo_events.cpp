#include <sstream>
#include <string>

#include "demo_sections.h"
#include "qx_sysevent/svr_event.h"
#include "qx_sysevent/sys_event_mgr.h"

namespace demo {
namespace {

void OnConfigChanged() {}
void OnNodeRestarted() {}

SvrEvent Event(const std::string& primary, const std::string& secondary) {
    SvrEvent key;
    key.m_strPrimaryKey = primary;
    key.m_strSecondaryKey = secondary;
    return key;
}

std::string Code(int result) {
    std::ostringstream text;
    text << result << " (0x" << std::hex << std::uppercase << static_cast<unsigned>(result) << ")";
    return text.str();
}

}  // namespace

void RunEventsSection() {
    Heading(
        "System event handlers",
        {"Handlers registered per event key; the first registration creates the event",
         "consumer, and a key registered twice keeps its first handler. SubscribeEvent()",
         "reports 1 without asking the platform. Destroy() ends the consumer, then the facade."});
    QXSysEventMgrIF* events = QXSysEventMgrIF::Instance();
    Answer("QXSysEventMgrIF::Instance()", events != nullptr ? "created" : "null");
    if (events == nullptr) {
        return;
    }
    Answer("RegEventHandler(config, changed)",
           Code(events->RegEventHandler(Event("config", "changed"), OnConfigChanged)));
    PrintNewRecords();
    Answer("RegEventHandler(node, restarted)",
           Code(events->RegEventHandler(Event("node", "restarted"), OnNodeRestarted)));
    PrintNewRecords();
    Answer("RegEventHandler(config, changed) again",
           Code(events->RegEventHandler(Event("config", "changed"), OnNodeRestarted)));
    PrintNewRecords();
    Answer("SubscribeEvent()", Code(events->SubscribeEvent()));
    Answer("UnSubscribeEvent()", Code(events->UnSubscribeEvent()));
    PrintNewRecords();
    QXSysEventMgrIF::Destroy();
    Answer("QXSysEventMgrIF::Destroy()", "done");
    PrintNewRecords();
}

}  // namespace demo
