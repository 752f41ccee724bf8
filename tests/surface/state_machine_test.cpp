// The public surface as a state machine: random sequences of the library's
// operations and of the stand-in controls a process's test uses, run in one
// process against the model (model.h). After every step the result, the
// exception let through, the whole journal, the trace records, the singletons,
// the caller's managers and containers, what was printed and the responses
// handed out must be what the model says. A failure shrinks to a short
// sequence, printed as the calls a test would make.
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <sstream>

#include "../cases.h"
#include "model.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/qx_sysevent.h"

namespace {

using qx_model::DbIds;
using qx_model::Ids;
using qx_model::Listed;
using qx_model::Model;
using qx_standin::Call;

// What the caller holds in the real process, beside the library's singletons.
struct World {
    std::vector<CUserSecurityMgr> managers;
    std::list<unsigned long> list;
    Ids vec;
    std::set<unsigned long> set;
    std::map<int, std::string> names;
    char buf[256];
};

// Every value a step may use. Small pools, so that ids, keys and texts repeat
// across inputs, outputs, answers and earlier results.
struct Args {
    int user;
    unsigned long ne;
    Ids ids;
    DbIds dbIds;
    std::vector<int> users;
    int result;
    std::string text;
    bool flag;
    Call call;
    unsigned skip;
    unsigned times;
    int form;
    std::array<long, 4> reload;
};

const std::vector<Call> kInjectable = {
    Call::TraceFormat,    Call::TraceWrite,     Call::DbInstance,   Call::GetAdminID,
    Call::IsInAdmins,     Call::GetUserName,    Call::GetMngDevice, Call::IsCloudNode,
    Call::ConsumerCreate, Call::AppMgrInstance, Call::SendRegReq};

rc::Gen<Args> ArgsGen() {
    using namespace rc;
    const auto ne = gen::element<unsigned long>(5, 7, 1001, 1002, 1101, 3000000000UL, 4294967295UL,
                                                1UL << 32, (1UL << 32) + 5, ~0UL);
    const auto dbNe = gen::element<unsigned>(5, 7, 1001, 1002, 3000000000U, 4294967295U, 0);
    const auto user = gen::element(42, 43, 1, 44, 7, -2, -2147483647 - 1);
    const auto text = gen::element<std::string>("alice",
                                                "b\xc3\xa9"
                                                "b\xff",
                                                std::string(300, 'n'), std::string("nu\0l", 4), "",
                                                "userid = 42", "SYSEvent", "ZorvService",
                                                "get 0 ne", "\n", "retCode = 1,", "return true");
    return gen::build<Args>(
        gen::set(&Args::user, user), gen::set(&Args::ne, ne),
        gen::set(&Args::ids, gen::mapcat(gen::inRange(0, 6),
                                         [ne](int n) { return gen::container<Ids>(n, ne); })),
        gen::set(&Args::dbIds,
                 gen::mapcat(gen::inRange(0, 5),
                             [dbNe](int n) { return gen::container<DbIds>(n, dbNe); })),
        gen::set(&Args::users,
                 gen::mapcat(gen::inRange(0, 4),
                             [user](int n) { return gen::container<std::vector<int>>(n, user); })),
        gen::set(&Args::result, gen::element(1, 1, 0, -1, -3, 2, 255)), gen::set(&Args::text, text),
        gen::set(&Args::flag, gen::arbitrary<bool>()),
        gen::set(&Args::call, gen::elementOf(kInjectable)),
        gen::set(&Args::skip, gen::inRange(0U, 3U)), gen::set(&Args::times, gen::inRange(0U, 3U)),
        gen::set(&Args::form, gen::inRange(0, 8)),
        gen::set(&Args::reload, gen::container<std::array<long, 4>>(gen::element<long>(
                                    0, 7, -1, 300, 0x12345, 0x112345678, -2147483648L))));
}

// RapidCheck favours small values at small sizes; choices among operations
// and pools are to be even at every size.
template <typename T>
rc::Gen<T> Uniform(rc::Gen<T> gen) {
    return rc::gen::resize(rc::kNominalSize, std::move(gen));
}

World g_world;

// One operation: what the model predicts, what the real process does, and
// how a test would write it.
struct Op {
    const char* name;
    bool onManager;  // needs a manager the caller made
    std::function<long(Model&, const Args&, const qx_model::Manager*)> predict;
    std::function<long(const Args&, CUserSecurityMgr*)> act;
    std::function<std::string(const Args&)> show;
};

std::string Quoted(const std::string& bytes) { return '"' + qx_model::Escaped(bytes) + '"'; }
std::string Braced(const auto& ids) { return "{" + Listed(ids) + "}"; }

// The five GetManagedNE forms; forms 5..7 pass the output as the input too.
struct Form {
    const char* in;
    const char* out;
};
const Form kForms[] = {{"list", "list"}, {"vec", "vec"},   {"set", "vec"}, {"set", "set"},
                       {"vec", "set"},   {"list", "list"}, {"vec", "vec"}, {"set", "set"}};

Ids InputOf(const Args& a, const qx_model::Caller& c) {
    const Form& f = kForms[a.form];
    if (a.form < 5) {
        if (std::string(f.in) == "set") {
            const std::set<unsigned long> s(a.ids.begin(), a.ids.end());
            return Ids(s.begin(), s.end());
        }
        return a.ids;
    }
    if (std::string(f.out) == "list") {
        return Ids(c.list.begin(), c.list.end());
    }
    return std::string(f.out) == "vec" ? c.vec : Ids(c.set.begin(), c.set.end());
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

std::string ShowManagedNE(const Args& a) {
    const Form& f = kForms[a.form];
    const std::string out = std::string(f.out) == "vec" ? "vec" : f.out;
    const std::string input =
        a.form >= 5
            ? out
            : std::string("std::") + (std::string(f.in) == "vec" ? "vector" : f.in) + Braced(a.ids);
    return "GetManagedNE(" + input + ", " + out + ")";
}

long Ok(const std::function<void()>& f) {
    f();
    return 0;
}

const std::vector<Op>& Ops() {
    using namespace qx_standin;
    using M = const qx_model::Manager*;
    static const std::vector<Op> ops = {
        // The stand-in's controls, as a process's test scripts them.
        {"Reset", false, [](Model& m, const Args& a, M) { return Ok([&] { m.Reset(a.flag); }); },
         [](const Args& a, CUserSecurityMgr*) { return Ok(a.flag ? ResetEmpty : Reset); },
         [](const Args& a) { return a.flag ? "ResetEmpty()" : "Reset()"; }},
        {"SetJournaling", false,
         [](Model& m, const Args& a, M) { return Ok([&] { m.platform.journaling = a.flag; }); },
         [](const Args& a, CUserSecurityMgr*) { return Ok([&] { SetJournaling(a.flag); }); },
         [](const Args& a) {
             return "SetJournaling(" + std::string(a.flag ? "true" : "false") + ")";
         }},
        {"ClearJournal", false,
         [](Model& m, const Args&, M) {
             return Ok([&] {
                 m.platform.journal.clear();
                 m.platform.traces.clear();
             });
         },
         [](const Args&, CUserSecurityMgr*) { return Ok(ClearJournal); },
         [](const Args&) { return "ClearJournal()"; }},
        {"SetCloudNode", false,
         [](Model& m, const Args& a, M) { return Ok([&] { m.platform.cloud = a.flag; }); },
         [](const Args& a, CUserSecurityMgr*) { return Ok([&] { SetCloudNode(a.flag); }); },
         [](const Args& a) {
             return "SetCloudNode(" + std::string(a.flag ? "true" : "false") + ")";
         }},
        {"SetDatabaseAvailable", false,
         [](Model& m, const Args& a, M) { return Ok([&] { m.platform.available = !a.flag; }); },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] { SetDatabaseAvailable(!a.flag); });
         },
         [](const Args& a) {
             return "SetDatabaseAvailable(" + std::string(a.flag ? "false" : "true") + ")";
         }},
        {"SetAdmins", false,
         [](Model& m, const Args& a, M) {
             return Ok([&] { m.platform.admins = {a.dbIds.begin(), a.dbIds.end()}; });
         },
         [](const Args& a, CUserSecurityMgr*) { return Ok([&] { SetAdmins(a.dbIds); }); },
         [](const Args& a) { return "SetAdmins(" + Braced(a.dbIds) + ")"; }},
        {"SetAdminId", false,
         [](Model& m, const Args& a, M) { return Ok([&] { m.platform.adminId = a.user; }); },
         [](const Args& a, CUserSecurityMgr*) { return Ok([&] { SetAdminId(a.user); }); },
         [](const Args& a) { return "SetAdminId(" + std::to_string(a.user) + ")"; }},
        {"SetUserName", false,
         [](Model& m, const Args& a, M) {
             return Ok([&] { m.platform.names[static_cast<unsigned>(a.user)] = a.text; });
         },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] { SetUserName(static_cast<unsigned>(a.user), a.text); });
         },
         [](const Args& a) {
             return "SetUserName(" + std::to_string(static_cast<unsigned>(a.user)) + ", " +
                    Quoted(a.text) + ")";
         }},
        {"SetManagedNEs", false,
         [](Model& m, const Args& a, M) {
             return Ok([&] { m.platform.managed[static_cast<unsigned>(a.user)] = a.dbIds; });
         },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] { SetManagedNEs(static_cast<unsigned>(a.user), a.dbIds); });
         },
         [](const Args& a) {
             return "SetManagedNEs(" + std::to_string(static_cast<unsigned>(a.user)) + ", " +
                    Braced(a.dbIds) + ")";
         }},
        {"SetMngDeviceResult", false,
         [](Model& m, const Args& a, M) { return Ok([&] { m.platform.mngResult = a.result; }); },
         [](const Args& a, CUserSecurityMgr*) { return Ok([&] { SetMngDeviceResult(a.result); }); },
         [](const Args& a) { return "SetMngDeviceResult(" + std::to_string(a.result) + ")"; }},
        {"QueueUserNameAnswer", false,
         [](Model& m, const Args& a, M) {
             return Ok([&] { m.platform.nameAnswers.emplace_back(a.result, a.text); });
         },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] { QueueUserNameAnswer(a.result, a.text); });
         },
         [](const Args& a) {
             return "QueueUserNameAnswer(" + std::to_string(a.result) + ", " + Quoted(a.text) + ")";
         }},
        {"QueueMngDeviceAnswer", false,
         [](Model& m, const Args& a, M) {
             return Ok([&] { m.platform.mngAnswers.emplace_back(a.result, a.dbIds); });
         },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] { QueueMngDeviceAnswer(a.result, a.dbIds); });
         },
         [](const Args& a) {
             return "QueueMngDeviceAnswer(" + std::to_string(a.result) + ", " + Braced(a.dbIds) +
                    ")";
         }},
        // Echo 9 or 8, result byte 0 or `result`'s, sent or not (form's low bit).
        {"QueueSendResponse", false,
         [](Model& m, const Args& a, M) {
             return Ok([&] {
                 m.platform.sends.push_back(
                     {a.form % 2, !a.flag, 8 + static_cast<int>(a.skip % 2), a.result & 0xff});
             });
         },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] {
                 if (a.flag) {
                     QueueSendWithoutResponse(a.form % 2);
                 } else {
                     QueueSendResponse(8 + (a.skip % 2), a.result & 0xff, a.form % 2);
                 }
             });
         },
         [](const Args& a) {
             return a.flag ? "QueueSendWithoutResponse(" + std::to_string(a.form % 2) + ")"
                           : "QueueSendResponse(" + std::to_string(8 + (a.skip % 2)) + ", " +
                                 std::to_string(a.result & 0xff) + ", " +
                                 std::to_string(a.form % 2) + ")";
         }},
        {"InjectFault", false,
         [](Model& m, const Args& a, M) {
             return Ok([&] { m.InjectFault(a.call, a.skip, a.times); });
         },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] { InjectFault(a.call, a.skip, a.times); });
         },
         [](const Args& a) {
             return "InjectFault(" + std::string(CallName(a.call)) + ", " + std::to_string(a.skip) +
                    ", " + std::to_string(a.times) + ")";
         }},
        {"InjectTraceFault", false,
         [](Model& m, const Args& a, M) {
             return Ok([&] {
                 if (a.times != 0) {
                     m.platform.traceFaults.emplace_back(a.text, a.times);
                 }
             });
         },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] { InjectTraceFault(a.text, a.times); });
         },
         [](const Args& a) {
             return "InjectTraceFault(" + Quoted(a.text) + ", " + std::to_string(a.times) + ")";
         }},
        {"ClearFaults", false,
         [](Model& m, const Args&, M) {
             return Ok([&] {
                 m.platform.faults.clear();
                 m.platform.traceFaults.clear();
             });
         },
         [](const Args&, CUserSecurityMgr*) { return Ok(ClearFaults); },
         [](const Args&) { return "ClearFaults()"; }},
        // The library's singletons.
        {"TEUserIDMgr::Instance", false,
         [](Model& m, const Args&, M) { return Ok([&] { m.RegistryInstance(); }); },
         [](const Args&, CUserSecurityMgr*) {
             return long{TEUserIDMgr::Instance() != TEUserIDMgr::m_pInstance};
         },
         [](const Args&) { return "TEUserIDMgr::Instance()"; }},
        {"TEUserIDMgr::Destroy", false,
         [](Model& m, const Args&, M) { return Ok([&] { m.RegistryDestroy(); }); },
         [](const Args&, CUserSecurityMgr*) { return Ok(TEUserIDMgr::Destroy); },
         [](const Args&) { return "TEUserIDMgr::Destroy()"; }},
        {"GetAdminUserID", false,
         [](Model& m, const Args&, M) {
             m.RegistryInstance();
             return m.GetAdminUserID();
         },
         [](const Args&, CUserSecurityMgr*) { return TEUserIDMgr::Instance()->GetAdminUserID(); },
         [](const Args&) { return "TEUserIDMgr::Instance()->GetAdminUserID()"; }},
        {"IsAdminUserID", false,
         [](Model& m, const Args& a, M) {
             m.RegistryInstance();
             return long{m.IsAdminUserID(a.ne)};
         },
         [](const Args& a, CUserSecurityMgr*) {
             return long{TEUserIDMgr::Instance()->IsAdminUserID(a.ne)};
         },
         [](const Args& a) {
             return "TEUserIDMgr::Instance()->IsAdminUserID(" + std::to_string(a.ne) + ")";
         }},
        {"QXSysEventMgrIF::Instance", false,
         [](Model& m, const Args&, M) { return Ok([&] { m.FacadeInstance(); }); },
         [](const Args&, CUserSecurityMgr*) {
             return long{QXSysEventMgrIF::Instance() != QXSysEventMgrIF::m_pInstance};
         },
         [](const Args&) { return "QXSysEventMgrIF::Instance()"; }},
        {"QXSysEventMgrIF::Destroy", false,
         [](Model& m, const Args&, M) { return Ok([&] { m.FacadeDestroy(); }); },
         [](const Args&, CUserSecurityMgr*) { return Ok(QXSysEventMgrIF::Destroy); },
         [](const Args&) { return "QXSysEventMgrIF::Destroy()"; }},
        {"RegEventHandler", false,
         [](Model& m, const Args& a, M) {
             return long{m.RegEventHandler(a.text.substr(0, 4), a.flag ? "raised" : "")};
         },
         [](const Args& a, CUserSecurityMgr*) {
             const SvrEvent key{a.text.substr(0, 4), a.flag ? "raised" : ""};
             return long{QXSysEventMgrIF::Instance()->RegEventHandler(key, nullptr)};
         },
         [](const Args& a) {
             return "QXSysEventMgrIF::Instance()->RegEventHandler({" + Quoted(a.text.substr(0, 4)) +
                    ", " + (a.flag ? "\"raised\"" : "\"\"") + "}, nullptr)";
         }},
        {"SubscribeEvent", false,
         [](Model& m, const Args& a, M) { return long{m.SubscribeEvent(a.flag)}; },
         [](const Args& a, CUserSecurityMgr*) {
             QXSysEventMgrIF* f = QXSysEventMgrIF::Instance();
             return long{a.flag ? f->SubscribeEvent() : f->UnSubscribeEvent()};
         },
         [](const Args& a) {
             return std::string("QXSysEventMgrIF::Instance()->") +
                    (a.flag ? "SubscribeEvent()" : "UnSubscribeEvent()");
         }},
        {"RegMDPMsgOfProReLoad", false,
         [](Model& m, const Args& a, M) {
             return long{m.Reload(static_cast<int>(a.reload[0]), static_cast<int>(a.reload[1]),
                                  static_cast<int>(a.reload[2]), a.reload[3])};
         },
         [](const Args& a, CUserSecurityMgr*) {
             return long{RegMDPMsgOfProReLoad(static_cast<int>(a.reload[0]),
                                              static_cast<int>(a.reload[1]),
                                              static_cast<int>(a.reload[2]), a.reload[3])};
         },
         [](const Args& a) {
             return "RegMDPMsgOfProReLoad(" + std::to_string(static_cast<int>(a.reload[0])) + ", " +
                    std::to_string(static_cast<int>(a.reload[1])) + ", " +
                    std::to_string(static_cast<int>(a.reload[2])) + ", " +
                    std::to_string(a.reload[3]) + ")";
         }},
        // A user's security scope.
        {"CUserSecurityMgr", false,
         [](Model& m, const Args& a, M) { return Ok([&] { m.MakeManager(a.user); }); },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] { g_world.managers.emplace_back(a.user); });
         },
         [](const Args& a) { return "managers.emplace_back(" + std::to_string(a.user) + ")"; }},
        {"fill outputs", false,
         [](Model& m, const Args& a, M) {
             return Ok([&] {
                 m.caller.list.assign(a.ids.begin(), a.ids.end());
                 m.caller.vec = a.ids;
                 m.caller.set = {a.ids.begin(), a.ids.end()};
             });
         },
         [](const Args& a, CUserSecurityMgr*) {
             return Ok([&] {
                 g_world.list.assign(a.ids.begin(), a.ids.end());
                 g_world.vec = a.ids;
                 g_world.set = {a.ids.begin(), a.ids.end()};
             });
         },
         [](const Args& a) { return "list = vec = set = " + Braced(a.ids); }},
        {"GetLoginName", true, [](Model& m, const Args&, M mgr) { return m.GetLoginName(*mgr); },
         [](const Args&, CUserSecurityMgr* mgr) { return mgr->GetLoginName(g_world.buf); },
         [](const Args&) { return "GetLoginName(buf)"; }},
        {"GetAllUser", true,
         [](Model& m, const Args& a, M mgr) { return m.GetAllUser(*mgr, a.users); },
         [](const Args& a, CUserSecurityMgr* mgr) {
             return mgr->GetAllUser(a.users, g_world.names);
         },
         [](const Args& a) { return "GetAllUser(" + Braced(a.users) + ", names)"; }},
        {"isNeManaged", true,
         [](Model& m, const Args& a, M mgr) { return long{m.IsNeManaged(*mgr, a.ne)}; },
         [](const Args& a, CUserSecurityMgr* mgr) { return long{mgr->isNeManaged(a.ne)}; },
         [](const Args& a) { return "isNeManaged(" + std::to_string(a.ne) + ")"; }},
        {"GetAllManagedNE", true,
         [](Model& m, const Args& a, M mgr) { return m.GetAllManagedNE(*mgr, a.flag); },
         [](const Args& a, CUserSecurityMgr* mgr) {
             return a.flag ? mgr->GetAllManagedNE(g_world.set) : mgr->GetAllManagedNE(g_world.vec);
         },
         [](const Args& a) {
             return std::string("GetAllManagedNE(") + (a.flag ? "set)" : "vec)");
         }},
        {"GetManagedNE", true,
         [](Model& m, const Args& a, M mgr) {
             return m.GetManagedNE(*mgr, kForms[a.form].in, kForms[a.form].out,
                                   InputOf(a, m.caller));
         },
         [](const Args& a, CUserSecurityMgr* mgr) { return ManagedNE(a, *mgr); }, ShowManagedNE},
    };
    return ops;
}

// A third of the steps query a manager, as many script the stand-in, and the
// rest call the library's other operations.
rc::Gen<std::size_t> OpIndex() {
    std::vector<std::size_t> indices;  // each operation as often as its weight
    for (std::size_t i = 0; i < Ops().size(); ++i) {
        const bool control = i < 16;
        const bool makesManager = std::string(Ops()[i].name) == "CUserSecurityMgr";
        indices.insert(indices.end(),
                       Ops()[i].onManager ? 6
                       : makesManager     ? 4
                       : control          ? 2
                                          : 3,
                       i);
    }
    return rc::gen::elementOf(indices);
}

// What a step ended with: its result, or the platform call whose fault it let through.
struct Outcome {
    long result = 0;
    std::optional<Call> threw;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return o.threw ? out << "threw in " << qx_standin::CallName(*o.threw) : out << o.result;
}

struct Step : rc::state::Command<Model, World> {
    const Op& op = Ops()[*Uniform(OpIndex())];
    Args args = *Uniform(ArgsGen());
    std::size_t manager = 0;  // which of the caller's managers, for an operation on one

    explicit Step(const Model& m) {
        if (op.onManager && !m.caller.managers.empty()) {
            manager = *Uniform(rc::gen::inRange<std::size_t>(0, m.caller.managers.size()));
        }
    }

    void checkPreconditions(const Model& m) const override {
        RC_PRE(!op.onManager || manager < m.caller.managers.size());
    }

    Outcome Predict(Model& m) const {
        const qx_model::Manager* on = op.onManager ? &m.caller.managers[manager] : nullptr;
        try {
            return {op.predict(m, args, on), std::nullopt};
        } catch (const qx_model::Threw& fault) {
            return {0, fault.call};
        }
    }

    void apply(Model& m) const override { Predict(m); }

    void run(const Model& before, World& w) const override {
        Model m = before;
        m.caller.printed.clear();
        qx_test::ClearPrinted();
        const Outcome predicted = Predict(m);
        Outcome seen;
        try {
            seen.result = op.act(args, op.onManager ? &w.managers[manager] : nullptr);
        } catch (const qx_standin::InjectedFault& fault) {
            seen.threw = fault.call;
        }
        RC_ASSERT(seen == predicted);
        RC_ASSERT(qx_standin::JournalTexts() == m.platform.journal);
        RC_ASSERT(qx_standin::TraceTexts() == m.platform.traces);
        for (const qx_standin::TraceRecord& record : qx_standin::TraceRecords()) {
            RC_ASSERT(record.module == "qx_sysevent" && record.type == 1);
        }
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
        RC_ASSERT(qx_test::StaticLocksTaken() == qx_test::StaticLocksReleased());
    }

    void show(std::ostream& out) const override {
        out << (op.onManager ? "managers[" + std::to_string(manager) + "]." : "") << op.show(args);
    }
};

// Each sequence starts with no singleton and the stand-in just Reset().
RC_GTEST_PROP(PublicSurface, EverySequenceDoesWhatTheModelSays, ()) {
    QXSysEventMgrIF::Destroy();
    TEUserIDMgr::Destroy();
    qx_standin::Reset();
    qx_test::ResetStaticLock();
    g_world = World{};
    std::memset(g_world.buf, 'x', sizeof g_world.buf);
    Model model;
    model.Reset(false);
    // Sequences of up to about 300 steps: long enough for state to outlive
    // Destroy() and Reset() several times over.
    const auto steps = *rc::gen::scale(
        3.0, rc::state::gen::commands(model, rc::state::gen::execOneOfWithArgs<Step>()));
    rc::state::runAll(steps, model, g_world);
}

}  // namespace
