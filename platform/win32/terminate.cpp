// The terminate handler, replaced at link time. libstdc++'s verbose one prints the exception's
// demangled type, which brings the demangler and the C runtime's printf into the executable (about
// 70 KB). The launcher catches every exception at each window procedure, so terminate is reached
// only by a fault that nothing can report: it ends the process at once.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
