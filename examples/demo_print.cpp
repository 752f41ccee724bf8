#include <unistd.h>

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

void Heading(const std::string& title, std::initializer_list<const char*> shows) {
    std::printf("\n== %s ==\n", title.c_str());
    for (const char* line : shows) {
        std::printf("  %s\n", line);
    }
    std::printf("\n");
}

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

// Standard output goes into a pipe for the step. What the library prints is
// a line at most, far below what a pipe holds, so nothing waits for a reader.
std::string CaptureStandardOutput(const std::function<void()>& step) {
    int ends[2];
    (void)std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    if (saved == -1 || pipe(ends) == -1) {
        step();
        return "(not captured)";
    }
    dup2(ends[1], STDOUT_FILENO);
    close(ends[1]);
    step();
    (void)std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string printed;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(ends[0], buffer, sizeof buffer)) > 0) {
        printed.append(buffer, static_cast<std::size_t>(got));
    }
    close(ends[0]);
    return printed;
}

}  // namespace demo
