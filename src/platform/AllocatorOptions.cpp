// Linked into every program that allocates through mimalloc (see kinloom_use_allocator in CMakeLists.txt).
//
// By default mimalloc hands the pages of freed memory back to the system soon after, and each of them costs a page
// fault when it is used again. The program frees and allocates in waves (records read and given back, the texts of
// a list rebuilt, a picture decoded for each one shown), so the same pages would go back and forth at every wave; on
// a virtual machine a fault costs several microseconds, and showing the next picture took four times as long. Freed
// memory stays with the program for its next use instead: its resident size is its peak, which it reaches anyway.
#include <mimalloc.h>

namespace {
const bool kKeepFreedPages = [] {
    mi_option_disable(mi_option_allow_decommit);
    return true;
}();
}
