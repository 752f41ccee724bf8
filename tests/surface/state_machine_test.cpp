// The public surface as a state machine: random sequences of the library's
// operations and of the stand-in controls a process's test uses, run in one
// process against the model (model.h). After every step the result, the
// exception let through, the whole journal, the trace records, the singletons
// and the static object lock, the caller's managers and containers, what was
// printed and the responses handed out must be what the model says. A step
// may also run with one of its allocations failing: the caller then holds
// what the headers promise, and both worlds start over. A failure shrinks to
// a short sequence, printed as the calls a test would make.
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <regex>

#include "../seams.h"
#include "model.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

using qx_model::DbIds;
using qx_model::Ids;
using qx_model::kNoInstance;
using qx_model::Model;
using qx_standin::Call;

// What the caller holds in the real process, beside the library's singletons.
struct World {
    std::vector<CUserSecurityMgr> managers;
    std::vector<int> users;  // of each manager
    std::list<unsigned long> list;
    Ids vec;
    std::set<unsigned long> set;
    std::map<int, std::string> names;
    char buf[256];
};
World g_world;

// Every value a step may use. Small pools, so that ids, keys and texts repeat
// across inputs, outputs, answers and earlier results.
struct Args {
    int user;
    unsigned long ne;
    Ids ids;
    DbIds db;
    std::vector<int> users;
    int result;
    int send;  // a send's result: 0 is the platform's failure
    std::string text;
    bool flag;
    Call call;
    unsigned skip;
    unsigned times;
    int form;
    std::array<long, 4> reload;
    long allocation;  // the step's allocation that fails, 0 for none
};

// The echo a scripted response carries (the request's type 9, or another),
// its result byte, the reload's first three arguments as the ints they are
// passed as, and an event key.
int Echo(const Args& a) { return 8 + static_cast<int>(a.skip % 2); }
int Byte(const Args& a) { return a.result & 0xff; }
int Arg(const Args& a, int i) { return static_cast<int>(a.reload.at(i)); }
SvrEvent Key(const Args& a) { return {a.text.substr(0, 4), a.flag ? "raised" : ""}; }

template <typename T>
rc::Gen<std::vector<T>> Few(rc::Gen<T> item) {
    return rc::gen::mapcat(rc::gen::inRange(0, 6), [item](int n) {
        return rc::gen::container<std::vector<T>>(static_cast<std::size_t>(n), item);
    });
}

rc::Gen<Args> ArgsGen() {
    using namespace rc;
    const auto user = gen::element(42, 43, 1, 44, 100, 7, -2, -2147483647 - 1);
    return gen::build<Args>(
        gen::set(&Args::user, user),
        gen::set(&Args::ne,
                 gen::element<unsigned long>(5, 7, 1001, 1002, 1101, 3000000000UL, 4294967295UL,
                                             1UL << 32, (1UL << 32) + 5, ~0UL)),
        gen::set(&Args::ids,
                 Few(gen::element<unsigned long>(5, 7, 1001, 1002, 3000000000UL, 4294967295UL,
                                                 1UL << 32, (1UL << 32) + 5))),
        gen::set(&Args::db, Few(gen::element<unsigned>(5, 7, 1001, 1002, 3000000000U, 0))),
        gen::set(&Args::users, Few(user)),
        gen::set(&Args::result, gen::element(1, 1, 0, -1, -3, 2, 255)),
        gen::set(&Args::send, gen::element(1, 1, 0, -5)),
        gen::set(&Args::text,
                 gen::element<std::string>("alice",
                                           "b\xc3\xa9"
                                           "b\xff",
                                           std::string(300, 'n'), std::string("nu\0l", 4), "",
                                           "\"q\\", "userid = 42", "SYSEvent", "ZorvService",
                                           "get 0 ne", "\n", "retCode = 1,", "return true")),
        gen::set(&Args::flag, gen::arbitrary<bool>()),
        gen::set(&Args::call,
                 gen::element(Call::TraceFormat, Call::TraceWrite, Call::DbInstance,
                              Call::GetAdminID, Call::IsInAdmins, Call::GetUserName,
                              Call::GetMngDevice, Call::IsCloudNode, Call::ConsumerCreate,
                              Call::AppMgrInstance, Call::SendRegReq)),
        gen::set(&Args::skip, gen::inRange(0U, 3U)), gen::set(&Args::times, gen::inRange(0U, 3U)),
        gen::set(&Args::form, gen::inRange(0, 8)),
        gen::set(&Args::reload, gen::container<std::array<long, 4>>(gen::element<long>(
                                    0, 7, -1, 300, 0x12345, 0x112345678, -2147483648L))),
        gen::set(&Args::allocation,
                 gen::map(gen::inRange(0L, 240L), [](long n) { return n <= 40 ? n : 0; })));
}

// RapidCheck favours small values at small sizes; choices among operations
// and pools are to be even at every size.
template <typename T>
rc::Gen<T> Uniform(rc::Gen<T> gen) {
    return rc::gen::resize(rc::kNominalSize, std::move(gen));
}

std::string Braced(const auto& ids) { return "{" + qx_model::Listed(ids) + "}"; }

// The five GetManagedNE forms; forms 5..7 pass the output as the input too.
struct Form {
    std::string in;
    std::string out;
    const char* written;
};
const std::array<Form, 8> kForms = {{{"list", "list", "std::list{ids}, list"},
                                     {"vec", "vec", "std::vector{ids}, vec"},
                                     {"set", "vec", "std::set{ids}, vec"},
                                     {"set", "set", "std::set{ids}, set"},
                                     {"vec", "set", "std::vector{ids}, set"},
                                     {"list", "list", "list, list"},
                                     {"vec", "vec", "vec, vec"},
                                     {"set", "set", "set, set"}}};

// The call as a test writes it: each {name} in `format` is that argument.
std::string Written(std::string format, const Args& a) {
    const std::map<std::string, std::string> values = {
        {"{user}", std::to_string(a.user)},
        {"{id}", std::to_string(static_cast<unsigned>(a.user))},
        {"{ne}", std::to_string(a.ne)},
        {"{ids}", Braced(a.ids)},
        {"{db}", Braced(a.db)},
        {"{users}", Braced(a.users)},
        {"{result}", std::to_string(a.result)},
        {"{byte}", std::to_string(Byte(a))},
        {"{send}", std::to_string(a.send)},
        {"{echo}", std::to_string(Echo(a))},
        {"{text}", '"' + qx_model::Escaped(a.text) + '"'},
        {"{form}", kForms.at(a.form).written},
        {"{key}",
         '"' + qx_model::Escaped(a.text.substr(0, 4)) + (a.flag ? R"(", "raised")" : R"(", "")")},
        {"{flag}", a.flag ? "true" : "false"},
        {"{call}", qx_standin::CallName(a.call)},
        {"{skip}", std::to_string(a.skip)},
        {"{times}", std::to_string(a.times)},
        {"{reload}", std::to_string(Arg(a, 0)) + ", " + std::to_string(Arg(a, 1)) + ", " +
                         std::to_string(Arg(a, 2)) + ", " + std::to_string(a.reload[3])},
    };
    for (const auto& [name, value] : values) {
        for (auto at = format.find(name); at != std::string::npos; at = format.find(name)) {
            format.replace(at, name.size(), value);
        }
    }
    return format;
}

// The input of GetManagedNE in its container's order.
Ids InputOf(const Args& a, const qx_model::Caller& c) {
    const std::set<unsigned long> asSet(a.ids.begin(), a.ids.end());
    if (a.form >= 5) {
        return a.form == 5   ? Ids(c.list.begin(), c.list.end())
               : a.form == 6 ? c.vec
                             : Ids(c.set.begin(), c.set.end());
    }
    return kForms.at(a.form).in == "set" ? Ids(asSet.begin(), asSet.end()) : a.ids;
}

long ManagedNE(const Args& a, CUserSecurityMgr& m) {
    World& w = g_world;
    const std::list<unsigned long> list(a.ids.begin(), a.ids.end());
    const std::set<unsigned long> set(a.ids.begin(), a.ids.end());
    switch (a.form) {
        case 0:
            return m.GetManagedNE(list, w.list);
        case 1:
            return m.GetManagedNE(a.ids, w.vec);
        case 2:
            return m.GetManagedNE(set, w.vec);
        case 3:
            return m.GetManagedNE(set, w.set);
        case 4:
            return m.GetManagedNE(a.ids, w.set);
        case 5:
            return m.GetManagedNE(w.list, w.list);
        case 6:
            return m.GetManagedNE(w.vec, w.vec);
        default:
            return m.GetManagedNE(w.set, w.set);
    }
}

enum class Kind { Control, Library, OnManager };
using Mm = const qx_model::Manager*;
using Rm = CUserSecurityMgr*;

// One operation: how a test writes it, what the model predicts and what the
// real process does. Controls and operations that return nothing read as 0.
struct Op {
    const char* written;
    Kind kind;
    std::function<long(Model&, const Args&, Mm)> predict;
    std::function<long(const Args&, Rm)> act;
};

// An operation that returns nothing, read as 0: in the model, in the process.
template <typename Operation>
auto Modelled(Operation f) {
    return [f](Model& m, const Args& a, Mm) { return f(m, a), 0L; };
}
template <typename Operation>
auto Real(Operation f) {
    return [f](const Args& a, Rm) { return f(a), 0L; };
}
template <typename InModel, typename InProcess>
Op Control(const char* written, InModel modelled, InProcess real) {
    return {written, Kind::Control, Modelled(modelled), Real(real)};
}

// Every output container of the caller, in the model or the real one, set to `ids`.
void Fill(auto& caller, const Ids& ids) {
    caller.list.assign(ids.begin(), ids.end());
    caller.vec = ids;
    caller.set = {ids.begin(), ids.end()};
}

// An operation through TEUserIDMgr::Instance() or QXSysEventMgrIF::Instance().
template <typename Singleton, typename Operation>
long Through(Operation operation) {
    Singleton* instance = Singleton::Instance();
    return instance == nullptr ? kNoInstance : long{operation(*instance)};
}

const std::vector<Op>& Ops() {
    using namespace qx_standin;
    using Ev = QXSysEventMgrIF;
    using Reg = TEUserIDMgr;
    const auto id = [](const Args& a) { return static_cast<unsigned>(a.user); };
    static const std::vector<Op> ops = {
        Control(
            "ResetEmpty() if {flag}, else Reset()", [](auto& m, auto& a) { m.Reset(a.flag); },
            [](auto& a) { a.flag ? ResetEmpty() : Reset(); }),
        Control(
            "SetJournaling({flag})", [](auto& m, auto& a) { m.platform.journaling = a.flag; },
            [](auto& a) { SetJournaling(a.flag); }),
        Control(
            "ClearJournal()", [](auto& m, auto&) { m.ClearJournal(); },
            [](auto&) { ClearJournal(); }),
        Control(
            "SetCloudNode({flag})", [](auto& m, auto& a) { m.platform.cloud = a.flag; },
            [](auto& a) { SetCloudNode(a.flag); }),
        Control(
            "SetDatabaseAvailable({flag})", [](auto& m, auto& a) { m.platform.available = a.flag; },
            [](auto& a) { SetDatabaseAvailable(a.flag); }),
        Control(
            "SetAdmins({db})",
            [](auto& m, auto& a) {
                m.platform.admins = {a.db.begin(), a.db.end()};
            },
            [](auto& a) { SetAdmins(a.db); }),
        Control(
            "SetAdminId({user})", [](auto& m, auto& a) { m.platform.adminId = a.user; },
            [](auto& a) { SetAdminId(a.user); }),
        Control(
            "SetUserName({id}, {text})",
            [id](auto& m, auto& a) { m.platform.names[id(a)] = a.text; },
            [id](auto& a) { SetUserName(id(a), a.text); }),
        Control(
            "SetManagedNEs({id}, {db})",
            [id](auto& m, auto& a) { m.platform.managed[id(a)] = a.db; },
            [id](auto& a) { SetManagedNEs(id(a), a.db); }),
        Control(
            "SetMngDeviceResult({result})",
            [](auto& m, auto& a) { m.platform.mngResult = a.result; },
            [](auto& a) { SetMngDeviceResult(a.result); }),
        Control(
            "QueueUserNameAnswer({result}, {text})",
            [](auto& m, auto& a) { m.platform.nameAnswers.emplace_back(a.result, a.text); },
            [](auto& a) { QueueUserNameAnswer(a.result, a.text); }),
        Control(
            "QueueMngDeviceAnswer({result}, {db})",
            [](auto& m, auto& a) { m.platform.mngAnswers.emplace_back(a.result, a.db); },
            [](auto& a) { QueueMngDeviceAnswer(a.result, a.db); }),
        Control(
            "QueueSendResponse({echo}, {byte}, {send})",
            [](auto& m, auto& a) {
                m.platform.sends.push_back({a.send, true, Echo(a), Byte(a)});
            },
            [](auto& a) { QueueSendResponse(Echo(a), Byte(a), a.send); }),
        Control(
            "QueueSendWithoutResponse({send})",
            [](auto& m, auto& a) {
                m.platform.sends.push_back({a.send, false, 0, 0});
            },
            [](auto& a) { QueueSendWithoutResponse(a.send); }),
        Control(
            "SetDefaultSendResponse({echo}, {byte})",
            [](auto& m, auto& a) {
                m.platform.fallback = {1, true, Echo(a), Byte(a)};
            },
            [](auto& a) { SetDefaultSendResponse(Echo(a), Byte(a)); }),
        Control(
            "InjectFault({call}, {skip}, {times})",
            [](auto& m, auto& a) { m.InjectFault(a.call, a.skip, a.times); },
            [](auto& a) { InjectFault(a.call, a.skip, a.times); }),
        Control(
            "InjectTraceFault({text}, {times})",
            [](auto& m, auto& a) { m.InjectTraceFault(a.text, a.times); },
            [](auto& a) { InjectTraceFault(a.text, a.times); }),
        Control(
            "ClearFaults()", [](auto& m, auto&) { m.ClearFaults(); }, [](auto&) { ClearFaults(); }),
        // ACE's static object lock failing, or working again, from here on.
        Control(
            "the static object lock fails: {flag}",
            [](auto& m, auto& a) { m.caller.lockFails = a.flag; },
            [](auto& a) { qx_test::SetStaticLockFails(a.flag); }),
        Control(
            "list = vec = set = {ids}", [](auto& m, auto& a) { Fill(m.caller, a.ids); },
            [](auto& a) { Fill(g_world, a.ids); }),
        // The library's singletons, registration and reload.
        {"TEUserIDMgr::Instance()", Kind::Library,
         [](Model& m, const Args&, Mm) { return m.RegistryInstance() ? 0L : kNoInstance; },
         [](const Args&, Rm) {
             return Through<Reg>([](Reg& r) { return &r != Reg::m_pInstance; });
         }},
        {"TEUserIDMgr::Destroy()", Kind::Library,
         Modelled([](Model& m, const Args&) { m.RegistryDestroy(); }),
         Real([](const Args&) { Reg::Destroy(); })},
        {"TEUserIDMgr::Instance()->GetAdminUserID()", Kind::Library,
         [](Model& m, const Args&, Mm) {
             return m.RegistryInstance() ? m.GetAdminUserID() : kNoInstance;
         },
         [](const Args&, Rm) { return Through<Reg>([](Reg& r) { return r.GetAdminUserID(); }); }},
        {"TEUserIDMgr::Instance()->IsAdminUserID({ne})", Kind::Library,
         [](Model& m, const Args& a, Mm) {
             return m.RegistryInstance() ? long{m.IsAdminUserID(a.ne)} : kNoInstance;
         },
         [](const Args& a, Rm) {
             return Through<Reg>([&a](Reg& r) { return r.IsAdminUserID(a.ne); });
         }},
        {"QXSysEventMgrIF::Instance()", Kind::Library,
         [](Model& m, const Args&, Mm) { return m.FacadeInstance() ? 0L : kNoInstance; },
         [](const Args&, Rm) { return Through<Ev>([](Ev& f) { return &f != Ev::m_pInstance; }); }},
        {"QXSysEventMgrIF::Destroy()", Kind::Library,
         Modelled([](Model& m, const Args&) { m.FacadeDestroy(); }),
         Real([](const Args&) { Ev::Destroy(); })},
        {"QXSysEventMgrIF::Instance()->RegEventHandler({{key}}, nullptr)", Kind::Library,
         [](Model& m, const Args& a, Mm) {
             return m.RegEventHandler(Key(a).m_strPrimaryKey, Key(a).m_strSecondaryKey);
         },
         [](const Args& a, Rm) {
             return Through<Ev>([&a](Ev& f) { return f.RegEventHandler(Key(a), nullptr); });
         }},
        {"QXSysEventMgrIF::Instance()->SubscribeEvent() if {flag}, else UnSubscribeEvent()",
         Kind::Library, [](Model& m, const Args& a, Mm) { return m.SubscribeEvent(a.flag); },
         [](const Args& a, Rm) {
             return Through<Ev>(
                 [&a](Ev& f) { return a.flag ? f.SubscribeEvent() : f.UnSubscribeEvent(); });
         }},
        {"RegMDPMsgOfProReLoad({reload})", Kind::Library,
         [](Model& m, const Args& a, Mm) {
             return long{m.Reload(Arg(a, 0), Arg(a, 1), Arg(a, 2), a.reload[3])};
         },
         [](const Args& a, Rm) {
             return long{RegMDPMsgOfProReLoad(Arg(a, 0), Arg(a, 1), Arg(a, 2), a.reload[3])};
         }},
        // A user's security scope.
        {"managers.emplace_back({user})", Kind::Library,
         Modelled([](Model& m, const Args& a) { m.MakeManager(a.user); }), Real([](const Args& a) {
             g_world.managers.emplace_back(a.user);
             g_world.users.push_back(a.user);
         })},
        {"GetLoginName(buf)", Kind::OnManager,
         [](Model& m, const Args&, Mm mgr) { return m.GetLoginName(*mgr); },
         [](const Args&, Rm mgr) { return mgr->GetLoginName(g_world.buf); }},
        {"GetAllUser({users}, names)", Kind::OnManager,
         [](Model& m, const Args& a, Mm mgr) { return m.GetAllUser(*mgr, a.users); },
         [](const Args& a, Rm mgr) { return mgr->GetAllUser(a.users, g_world.names); }},
        {"isNeManaged({ne})", Kind::OnManager,
         [](Model& m, const Args& a, Mm mgr) { return long{m.IsNeManaged(*mgr, a.ne)}; },
         [](const Args& a, Rm mgr) { return long{mgr->isNeManaged(a.ne)}; }},
        {"GetAllManagedNE(set if {flag}, else vec)", Kind::OnManager,
         [](Model& m, const Args& a, Mm mgr) { return m.GetAllManagedNE(*mgr, a.flag); },
         [](const Args& a, Rm mgr) {
             return a.flag ? mgr->GetAllManagedNE(g_world.set) : mgr->GetAllManagedNE(g_world.vec);
         }},
        {"GetManagedNE({form})", Kind::OnManager,
         [](Model& m, const Args& a, Mm mgr) {
             const Form& f = kForms.at(a.form);
             return m.GetManagedNE(*mgr, f.in, f.out, InputOf(a, m.caller));
         },
         [](const Args& a, Rm mgr) { return ManagedNE(a, *mgr); }},
    };
    return ops;
}

// A third of the steps query a manager, and as many script the stand-in.
rc::Gen<std::size_t> OpIndex() {
    std::vector<std::size_t> weighted;  // each operation as often as its weight
    for (std::size_t i = 0; i < Ops().size(); ++i) {
        const Kind kind = Ops()[i].kind;
        weighted.insert(weighted.end(),
                        kind == Kind::OnManager ? 6
                        : kind == Kind::Control ? 2
                                                : 3,
                        i);
    }
    return rc::gen::elementOf(weighted);
}

// What a step ended with: its result, or what it let through.
struct Outcome {
    long result = 0;
    std::string threw;  // the platform call whose fault it let through, or "std::bad_alloc"
    bool operator==(const Outcome&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return o.threw.empty() ? out << o.result : out << "threw " << o.threw;
}

bool IsSubsequence(const auto& part, const auto& whole) {
    auto at = whole.begin();
    for (const auto& item : part) {
        at = std::find(at, whole.end(), item);
        if (at == whole.end()) {
            return false;
        }
        ++at;
    }
    return true;
}

// What the headers promise of a container that an allocation failure
// interrupted: a call that only adds to it keeps what it held and has added
// some of what it adds; one that replaces it leaves it as it was, replaced, or
// (only once the database answered) emptied and holding some of the answer.
template <typename Container>
void CheckInterrupted(const Container& before, const Container& after, const Container& seen,
                      bool answered) {
    if (IsSubsequence(before, after)) {
        RC_ASSERT(IsSubsequence(before, seen) && IsSubsequence(seen, after));
    } else {
        RC_ASSERT(seen == before || seen == after || (answered && IsSubsequence(seen, after)));
    }
}

struct Step : rc::state::Command<Model, World> {
    const Op& op = Ops()[*Uniform(OpIndex())];
    Args args = *Uniform(ArgsGen());
    std::size_t manager = 0;  // which of the caller's managers, for an operation on one

    explicit Step(const Model& m) {
        if (op.kind == Kind::OnManager && !m.caller.managers.empty()) {
            manager = *Uniform(rc::gen::inRange<std::size_t>(0, m.caller.managers.size()));
        }
    }

    bool FailsAllocation() const { return op.kind != Kind::Control && args.allocation != 0; }

    void checkPreconditions(const Model& m) const override {
        RC_PRE(op.kind != Kind::OnManager || manager < m.caller.managers.size());
    }

    Outcome Predict(Model& m) const {
        try {
            return {op.predict(m, args,
                               op.kind == Kind::OnManager ? &m.caller.managers[manager] : nullptr),
                    ""};
        } catch (const qx_model::Threw& fault) {
            return {0, qx_standin::CallName(fault.call)};
        }
    }

    // A step with a failing allocation ends in a fresh start, in both worlds.
    void apply(Model& m) const override {
        Predict(m);
        if (FailsAllocation()) {
            m = Model{};
            m.Reset(false);
        }
    }

    void run(const Model& before, World& w) const override {
        Model m = before;
        m.caller.printed.clear();
        qx_test::ClearPrinted();
        const long locks = qx_test::StaticLocksTaken() - m.caller.locks;
        const Outcome predicted = Predict(m);
        Outcome seen;
        qx_test::DirtyStack();
        if (FailsAllocation()) {
            qx_test::FailNthAllocation(args.allocation);
        }
        int thrown = 0;  // 1 a fault, 2 out of memory; named once nothing can fail
        Call fault{};
        try {
            seen.result = op.act(args, op.kind == Kind::OnManager ? &w.managers[manager] : nullptr);
        } catch (const qx_standin::InjectedFault& f) {
            thrown = 1;
            fault = f.call;
        } catch (const std::bad_alloc&) {
            thrown = 2;
        }
        const bool struck = FailsAllocation() && qx_test::DisarmAllocationFailure();
        if (thrown != 0) {
            seen.threw = thrown == 1 ? qx_standin::CallName(fault) : "std::bad_alloc";
        }
        if (struck) {
            CheckInterruptedStep(before, m, predicted, seen, w);
        } else {
            CheckStep(m, predicted, seen, w, locks + m.caller.locks);
        }
        if (FailsAllocation()) {
            StartOver(w);
        }
    }

    void CheckStep(const Model& m, const Outcome& predicted, const Outcome& seen, World& w,
                   long locks) const {
        RC_ASSERT(seen == predicted);
        RC_ASSERT(qx_standin::JournalTexts() == m.platform.journal);
        RC_ASSERT(qx_standin::TraceTexts() == m.platform.traces);
        for (const qx_standin::TraceRecord& record : qx_standin::TraceRecords()) {
            RC_ASSERT(record.module == "qx_sysevent" && record.type == 1);
        }
        RC_ASSERT(qx_standin::CountCalls(Call::GetMngDevice) ==
                  std::size_t(std::ranges::count_if(m.platform.journal, [](const std::string& t) {
                      return t.starts_with("ZorvGetMngDevice(");
                  })));
        RC_ASSERT((TEUserIDMgr::m_pInstance != nullptr) == m.caller.registry);
        RC_ASSERT((QXSysEventMgrIF::m_pInstance != nullptr) == m.caller.facade);
        RC_ASSERT(w.managers.size() == m.caller.managers.size());
        for (std::size_t i = 0; i < w.managers.size(); ++i) {
            RC_ASSERT(w.managers[i].isContainsRoot() == m.caller.managers[i].root);
        }
        RC_ASSERT(w.list == m.caller.list);
        RC_ASSERT(w.vec == m.caller.vec);
        RC_ASSERT(w.set == m.caller.set);
        RC_ASSERT(w.names == m.caller.names);
        RC_ASSERT(std::string(w.buf, sizeof w.buf) == m.caller.buf);
        RC_ASSERT(qx_test::Printed() == m.caller.printed);
        RC_ASSERT(qx_standin::ResponsesHandedOut() == m.platform.handedOut);
        RC_ASSERT(qx_standin::ResponsesAlive() == 0U);
        RC_ASSERT(qx_test::StaticLocksTaken() == locks);
        RC_ASSERT(qx_test::StaticLocksTaken() == qx_test::StaticLocksReleased());
    }

    // The allocation failure reached the caller, unless Destroy() swallowed it;
    // the lock is free, no response is kept, and each container and flag is
    // one the headers allow.
    void CheckInterruptedStep(const Model& before, const Model& after, const Outcome& predicted,
                              const Outcome& seen, const World& w) const {
        // Destroy() swallows the failure; a call whose failure a destructor of
        // the platform swallowed ends as it would have.
        const bool swallows = std::string(op.written).ends_with("Destroy()");
        RC_ASSERT(seen == predicted || (!swallows && seen.threw == "std::bad_alloc"));
        RC_ASSERT(qx_test::StaticLocksTaken() == qx_test::StaticLocksReleased());
        RC_ASSERT(qx_standin::ResponsesAlive() == 0U);
        const qx_model::Caller& b = before.caller;
        const qx_model::Caller& a = after.caller;
        const bool registry = TEUserIDMgr::m_pInstance != nullptr;
        const bool facade = QXSysEventMgrIF::m_pInstance != nullptr;
        RC_ASSERT(registry == b.registry || registry == a.registry);
        RC_ASSERT(facade == b.facade || facade == a.facade);
        RC_ASSERT(w.managers.size() == b.managers.size() || w.managers.size() == a.managers.size());
        const std::vector<std::string> journal = qx_standin::JournalTexts();
        const auto journaledBefore =
            static_cast<std::ptrdiff_t>(std::min(journal.size(), before.platform.journal.size()));
        const bool answered =
            !before.platform.journaling ||
            std::any_of(journal.begin() + journaledBefore, journal.end(), [](const std::string& t) {
                return t.starts_with("ZorvGetMngDevice(") && !t.ends_with(" threw");
            });
        // The stand-in keeps each trace record in the journal and the records alike.
        const auto written = std::ranges::count_if(journal, [](const std::string& t) {
            return t.starts_with("QXTrace2LogFile(") && !t.ends_with(" threw");
        });
        RC_ASSERT(std::size_t(written) == qx_standin::TraceTexts().size());
        CheckInterrupted(b.list, a.list, w.list, answered);
        CheckInterrupted(b.vec, a.vec, w.vec, answered);
        CheckInterrupted(b.set, a.set, w.set, answered);
        CheckInterrupted(b.names, a.names, w.names, answered);
    }

    static void StartOver(World& w) {
        qx_test::ResetStaticLock();
        QXSysEventMgrIF::Destroy();
        TEUserIDMgr::Destroy();
        qx_standin::Reset();
        qx_test::ResetStaticLock();
        w.managers.clear();
        w.users.clear();
        w.list.clear();
        w.vec.clear();
        w.set.clear();
        w.names.clear();
        std::memset(w.buf, 'x', sizeof w.buf);
    }

    void show(std::ostream& out) const override {
        if (FailsAllocation()) {
            out << "with allocation " << args.allocation << " failing: ";
        }
        out << (op.kind == Kind::OnManager ? "managers[" + std::to_string(manager) + "]." : "");
        out << Written(op.written, args);
        out << (FailsAllocation() ? "; then all starts over" : "");
    }
};

// Each sequence starts with no singleton and the stand-in just Reset(); it
// runs up to about 300 steps, so state outlives Destroy() and Reset() often.
RC_GTEST_PROP(PublicSurface, EverySequenceDoesWhatTheModelSays, ()) {
    Step::StartOver(g_world);
    Model model;
    model.Reset(false);
    const auto steps = *rc::gen::scale(
        3.0, rc::state::gen::commands(model, rc::state::gen::execOneOfWithArgs<Step>()));
    rc::state::runAll(steps, model, g_world);
}

}  // namespace
