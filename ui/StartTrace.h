#pragma once
// Where the start's time goes: each step with the milliseconds since main() and the processor
// time of the user-interface thread, under the logging category smsv48.startup
// (QT_LOGGING_RULES="smsv48.startup.debug=true"). Nothing is measured while it is off.
namespace Start {
void mark(const char* step);
}
