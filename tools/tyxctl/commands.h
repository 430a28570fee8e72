// commands.h - the tool's commands; each returns its exit code.
#pragma once

namespace tyxctl {

class Context;

int runPorts(const Context& ctx);
int runNetScan(const Context& ctx);
int runNetSetIp(const Context& ctx);
int runGrab(const Context& ctx);
int runInfo(const Context& ctx);
int runGet(const Context& ctx);
int runSet(const Context& ctx);
int runMemory(const Context& ctx);  // memorize, recall, defaults
int runFile(const Context& ctx);    // save, load

}  // namespace tyxctl
