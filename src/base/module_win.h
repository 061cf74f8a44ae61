#pragma once
// Functions found in a loaded module by name, typed by the caller.

#include <windows.h>

namespace launcher {

// The export `name` of `module` as a pointer of type `Fn`; null when the module lacks it. The
// caller's `Fn` must carry the export's calling convention: checking it against the declaring
// header (static_assert over decltype) is the caller's part.
template <typename Fn>
Fn moduleFunction(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace launcher
