// A window caption stamped with the program's version.
#pragma once

#include <string>

namespace AppTitleModule {

// `tCaption`, " - ", then the major, minor and revision numbers of the
// program's own version resource joined by points ("Varnolt - 1.1.3").
std::wstring AppTitle(const std::wstring& tCaption);

}  // namespace AppTitleModule
