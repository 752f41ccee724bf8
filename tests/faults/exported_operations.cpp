#include "operation.h"

namespace qx_faults {

std::vector<Operation> ExportedOperations() {
    std::vector<Operation> all;
    for (auto part : {AdminRegistryOperations, SecurityScopeOperations, NeQueryOperations,
                      EventOperations, ReloadOperations}) {
        std::vector<Operation> operations = part();
        all.insert(all.end(), operations.begin(), operations.end());
    }
    return all;
}

}  // namespace qx_faults
