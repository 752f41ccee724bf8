// The example server process, one section per job of the library.
#pragma once

#include <string>

namespace demo {

void RunAdminSection();
void RunSecuritySection();
void RunEventsSection();
void RunReloadSection();

// Prints a heading, then what a step answered.
void Heading(const std::string& title);
void Answer(const std::string& what, const std::string& value);
// Prints the trace records written since the last call, and forgets them.
void PrintNewRecords();

}  // namespace demo
