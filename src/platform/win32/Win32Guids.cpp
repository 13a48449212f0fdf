// The interface and property identifiers the program uses, defined here
// rather than taken from libuuid, whose one object holds some two thousand
// of them: each is a section of its own, and the link keeps only those used.
#include <initguid.h>
#include <oleacc.h>
#include <wincodec.h>
