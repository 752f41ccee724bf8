#include <string>

#include "demo_sections.h"
#include "qx_standin/standin.h"
#include "qx_sysevent/user_id_mgr.h"

namespace demo {

void RunAdminSection() {
    Heading("Administrator registry",
            {"Who the administrator is, asked of the database at each call (user 1 in the",
             "stand-in's data set). Every check writes one trace record."});
    TEUserIDMgr* registry = TEUserIDMgr::Instance();
    Answer("TEUserIDMgr::Instance()", registry != nullptr ? "created" : "null");
    if (registry == nullptr) {
        return;
    }
    Answer("GetAdminUserID()", std::to_string(registry->GetAdminUserID()));
    PrintNewRecords();
    for (unsigned long user : {1UL, 42UL, 43UL, 44UL}) {
        Answer("IsAdminUserID(" + std::to_string(user) + ")",
               registry->IsAdminUserID(user) ? "true" : "false");
        PrintNewRecords();
    }
    TEUserIDMgr::Destroy();
    Answer("TEUserIDMgr::Destroy()", "done");
}

}  // namespace demo
