#include <cstdio>
#include <string>

#include "demo_sections.h"
#include "qx_standin/standin.h"

namespace demo {
namespace {

// Shows the record as the log would hold it, with its newline made visible.
std::string Visible(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

}  // namespace

void Heading(const std::string& title) { std::printf("\n== %s ==\n", title.c_str()); }

void Answer(const std::string& what, const std::string& value) {
    std::printf("  %-44s %s\n", what.c_str(), value.c_str());
}

void PrintNewRecords() {
    for (const auto& record : qx_standin::TraceRecords()) {
        std::printf("    trace [%s/%d] %s\n", record.module.c_str(), record.type,
                    Visible(record.text).c_str());
    }
    qx_standin::ClearJournal();
}

}  // namespace demo
