// The C++ runtime's failure paths, for the launcher stubs only.
//
// The launcher catches no exception: every one the standard library raised
// (a string grown past its maximum, memory exhausted, a bad index) reached
// std::terminate and ended the process through abort(). These definitions
// take the place of the library's own and end the process the same way,
// with a line on standard error, at the point of failure. The library's
// versions throw, and throwing pulls in the unwinder, the exception classes
// with their strings and the verbose terminate handler with its name
// demangler: about a fifth of the stub. The stub code is built without
// exceptions to match.
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <new>

#include <windows.h>

namespace {

[[noreturn]] void fail(const char* what) {
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err != nullptr && err != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        static const char head[] = "terminate called: ";
        WriteFile(err, head, sizeof head - 1, &written, nullptr);
        WriteFile(err, what, static_cast<DWORD>(std::strlen(what)), &written, nullptr);
        WriteFile(err, "\n", 1, &written, nullptr);
    }
    std::abort();
}

// As the library's operator new does: while memory is short the installed
// new handler runs (the launcher's reports "out of memory" and ends the
// process with exit code 1); only without a handler does the failure end it.
void* allocate(std::size_t size) {
    for (;;) {
        void* p = std::malloc(size == 0 ? 1 : size);
        if (p != nullptr) return p;
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) fail("std::bad_alloc");
        handler();
    }
}

}  // namespace

namespace std {
void __throw_bad_alloc() { fail("std::bad_alloc"); }
void __throw_bad_array_new_length() { fail("std::bad_array_new_length"); }
void __throw_bad_function_call() { fail("std::bad_function_call"); }
void __throw_length_error(const char* what) { fail(what); }
void __throw_logic_error(const char* what) { fail(what); }
void __throw_out_of_range(const char* what) { fail(what); }
void __throw_out_of_range_fmt(const char* what, ...) { fail(what); }
void __throw_invalid_argument(const char* what) { fail(what); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() { fail("std::terminate"); }
}  // namespace __gnu_cxx

extern "C" void __cxa_throw_bad_array_new_length() { fail("std::bad_array_new_length"); }

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
