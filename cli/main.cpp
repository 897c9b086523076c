// smsv48ctl: the tool's whole run is cliRun (the tests run it in their own process).
#include "cli/Cli.h"
#include "core/ProgramContext.h"

int main(int argc, char** argv) { return cliRun(gState(), argc, argv); }
