// The parts of the C++ runtime that Varnolt.exe takes from itself instead
// of from libstdc++, which would bring along much the program never uses.
//
// The program is built without exceptions and catches none: a failure the
// library would report by throwing (no memory left, a string longer than
// any string can be) ends the program at once, as an uncaught exception
// would. libstdc++'s own versions throw, and so pull in the exception
// machinery, the exception classes with their copy-on-write strings, and a
// demangler for the message on standard error that a windowed program
// never shows.
//
// Should the program come to use a library function that reports a failure
// not listed here, the link fails with "multiple definition of
// std::__throw_...": add that one below.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  std::abort();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace std {

void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }

}  // namespace std
