// Huge pages for the allocator's memory. A list of a million entries, its
// preview and a run's plan and undo list touch hundreds of megabytes, and
// every 4 KiB page of it costs a page fault on first touch; in a virtual
// machine one fault can take ten microseconds. Asked for it, the C library's
// allocator advises the kernel to back its memory with 2 MiB pages instead.
// It reads that wish from its environment only as the program starts, so the
// program starts itself once more with the wish added, and then puts the
// environment back as it was, for the programs it runs in turn.
#pragma once

#include <optional>
#include <string>

// The tunables to start with: `current` (the variable as found, if set) with
// huge pages asked for, and large blocks and freed room kept in the heap
// unless `current` sets those; nothing when huge pages are asked for or
// refused already.
std::optional<std::string> TunablesWithHugePages(const std::optional<std::string>& current);

// Call first in main, before anything else runs. When the arguments ask to
// rename a large folder or to undo, starts the executable again with huge
// pages asked for, where the kernel offers them and they are not asked for
// yet; returns when it does not, or cannot. In the program so started,
// restores the environment as the caller had it and returns.
void RestartWithHugePageHeap(char** argv);
