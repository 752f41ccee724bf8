// The example server process, one section per job of the library.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

namespace demo {

void RunAdminSection();
void RunSecuritySection();
void RunEventsSection();
void RunReloadSection();

// Prints a heading, then what the section shows, one line per entry.
void Heading(const std::string& title, std::initializer_list<const char*> shows);
// Prints what a step answered.
void Answer(const std::string& what, const std::string& value);
// Prints the trace records written since the last call, and forgets them.
void PrintNewRecords();
// Runs `step` and returns what it printed to standard output.
std::string CaptureStandardOutput(const std::function<void()>& step);

}  // namespace demo
