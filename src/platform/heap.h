#pragma once

// The process's heap policy, set once at start by the program and by the
// benchmark (which measures the program as it ships).
namespace heap {

// Keeps up to 64 MB of freed heap for reuse instead of handing it back to the
// system at once. A catalog read into memory (a snapshot of 100,000 rows takes
// some 40 MB) is followed by more of its size, and memory handed back has to be
// faulted in again page by page: that costs more than the read itself.
void KeepFreedMemory();

} // namespace heap
