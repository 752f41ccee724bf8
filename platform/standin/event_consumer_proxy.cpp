// The stand-in event consumer base: it journals its construction, destruction
// and unsubscribe() calls, and otherwise does nothing (no thread, no events).
#include "platform/event_consumer_proxy.h"

#include <string>

#include "state.h"

namespace {

using qx_standin::Call;
using qx_standin::CallRecord;

}  // namespace

namespace ZORVem {

EventConsumerProxy::EventConsumerProxy(EventClientType clientType, bool flag, ConnectionMode mode) {
    CallRecord record(Call::ConsumerCreate);
    record.args = {clientType, flag ? 1 : 0, mode};
    record.text = "EventConsumerProxy::EventConsumerProxy(" + std::to_string(record.args.at(0)) +
                  ", " + (record.args.at(1) != 0 ? "true" : "false") + ", " +
                  std::to_string(record.args.at(2)) + ")";
    qx_standin::detail::CheckFault(record);
    qx_standin::detail::Record(std::move(record));
}

// No fault injection here: a destructor that throws would end the process.
// Out of memory, the journal entry is lost rather than the process.
EventConsumerProxy::~EventConsumerProxy() {
    try {
        qx_standin::detail::Record(
            CallRecord(Call::ConsumerDestroy, "EventConsumerProxy::~EventConsumerProxy()"));
    } catch (...) {
    }
}

int EventConsumerProxy::svc() { return 0; }

int EventConsumerProxy::subscribe(EventFilter&) { return 0; }

int EventConsumerProxy::subscribe(const char*, ZORVcommon::StringSeq&, const char*) { return 0; }

void EventConsumerProxy::PushEvent(const ZORVcommon::StringSeq&) {}

void EventConsumerProxy::onConnectionBroken() {}

int EventConsumerProxy::asynSubscribe(EventFilter&) { return 0; }

int EventConsumerProxy::asynSubscribe(const char*, ZORVcommon::StringSeq&, const char*) {
    return 0;
}

void EventConsumerProxy::reStartCallback() {}

void EventConsumerProxy::PushEventForJson(const Json::Value&) {}

int EventConsumerProxy::unsubscribe() {
    CallRecord record(Call::ConsumerUnsubscribe, "EventConsumerProxy::unsubscribe()");
    qx_standin::detail::CheckFault(record);
    record.text += " = 0";
    qx_standin::detail::Record(std::move(record));
    return 0;
}

}  // namespace ZORVem
