#pragma once

namespace ui {

// Backs the process's heap with transparent huge pages where the system
// offers them on request (Linux, "madvise" mode): starting the program
// allocates some tens of megabytes of small objects (forms, widgets, fonts,
// decoded pictures), and on virtual machines the kernel's fault for every
// fresh 4 KiB page of them cost more than the program's own work. Call it
// first thing in main(), before any thread starts. Changes nothing that the
// program computes; where huge pages are not offered it only shapes the
// heap (one arena, freed memory kept for reuse up to some 60 MB).
void back_heap_with_huge_pages();

} // namespace ui
