// Lets the program run only on Windows 2000 and Windows XP.
#ifndef ZNUPDATE_RUN_SYSTEM_GATE_H
#define ZNUPDATE_RUN_SYSTEM_GATE_H

// The gate's verdict; false until CheckSystemVersion accepts the system.
extern bool SupportedSystem;

// Decides whether this system is Windows 2000 or XP (NT 5.0 or 5.1), keeps
// the verdict in SupportedSystem and returns it.
bool CheckSystemVersion(void);

#endif
