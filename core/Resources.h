#pragma once
// Registers the program's compiled-in resources (logos, icons). The library is static, so
// the linker would otherwise drop the resource data; every user of ":/..." calls this first.
void smsv48InitResources();
