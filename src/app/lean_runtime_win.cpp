// The parts of the C++ runtime an executable built without exceptions needs, so that linking
// does not pull in the library's exception, type information and name demangling machinery
// (about half the file). Only the launcher executables link this; the test programs keep the
// library's own versions.
//
// The product never catches: an allocation that fails or a broken precondition inside the
// standard library ends the process, which is what an uncaught exception did before.

#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void endProcess() { std::abort(); }

void* allocateOrEnd(std::size_t size) {
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  endProcess();
}

}  // namespace

void* operator new(std::size_t size) { return allocateOrEnd(size); }
void* operator new[](std::size_t size) { return allocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size != 0 ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size != 0 ? size : 1); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

// What the library's headers call where they would throw: every function of the library objects
// that hold them, so that those objects are never linked beside these.
namespace std {
void __throw_bad_exception() { endProcess(); }
void __throw_bad_alloc() { endProcess(); }
void __throw_bad_array_new_length() { endProcess(); }
void __throw_bad_cast() { endProcess(); }
void __throw_bad_typeid() { endProcess(); }
void __throw_bad_function_call() { endProcess(); }
void __throw_logic_error(const char*) { endProcess(); }
void __throw_domain_error(const char*) { endProcess(); }
void __throw_invalid_argument(const char*) { endProcess(); }
void __throw_length_error(const char*) { endProcess(); }
void __throw_out_of_range(const char*) { endProcess(); }
void __throw_out_of_range_fmt(const char*, ...) { endProcess(); }
void __throw_runtime_error(const char*) { endProcess(); }
void __throw_range_error(const char*) { endProcess(); }
void __throw_overflow_error(const char*) { endProcess(); }
void __throw_underflow_error(const char*) { endProcess(); }
}  // namespace std

// The first use of a function's static object, guarded across threads (the splash window and
// the trace both have one, and later code may add more). The library's own guard would bring
// its exception and thread library code along. One recursive lock for all of them: an object
// whose construction uses another function's static object takes it again on the same thread.
namespace {

CRITICAL_SECTION staticsLock;
INIT_ONCE staticsLockMade = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK makeStaticsLock(PINIT_ONCE, PVOID, PVOID*) {
  ::InitializeCriticalSection(&staticsLock);
  return TRUE;
}

void enterStaticsLock() {
  ::InitOnceExecuteOnce(&staticsLockMade, makeStaticsLock, nullptr, nullptr);
  ::EnterCriticalSection(&staticsLock);
}

// The guard's first byte says the object is made, as the platform's guard does.
bool made(long long* guard) { return __atomic_load_n(reinterpret_cast<char*>(guard), __ATOMIC_ACQUIRE) != 0; }

}  // namespace

extern "C" int __cxa_guard_acquire(long long* guard) {
  if (made(guard)) return 0;
  enterStaticsLock();
  if (made(guard)) {
    ::LeaveCriticalSection(&staticsLock);
    return 0;
  }
  return 1;  // the caller constructs the object, holding the lock
}

extern "C" void __cxa_guard_release(long long* guard) {
  __atomic_store_n(reinterpret_cast<char*>(guard), 1, __ATOMIC_RELEASE);
  ::LeaveCriticalSection(&staticsLock);
}

extern "C" void __cxa_guard_abort(long long*) { ::LeaveCriticalSection(&staticsLock); }
