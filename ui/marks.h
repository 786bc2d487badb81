// Start-up marks for the start-up benchmark's breakdown: where the first second goes (entry, window
// built, shown, first paint, each decode and resample). Built in only with VANTREL_STARTUP_MARKS;
// in the release each Mark is nothing at all. The host that enables them supplies the clock and
// writes them out.
#pragma once

namespace marks {

#ifdef VANTREL_STARTUP_MARKS
inline void (*sink)(const char* what, const char* detail) = nullptr;
inline void Mark(const char* what, const char* detail = "") {
  if (sink) sink(what, detail);
}
#else
inline void Mark(const char*, const char* = "") {}
#endif

}  // namespace marks
