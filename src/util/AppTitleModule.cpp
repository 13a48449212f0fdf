#include "util/AppTitleModule.h"

#include "platform/Platform.h"

namespace AppTitleModule {

std::wstring AppTitle(const std::wstring& tCaption) {
  const platform::Version v = platform::ProgramVersion();
  return tCaption + L" - " + std::to_wstring(v.major) + L"." + std::to_wstring(v.minor) + L"." +
         std::to_wstring(v.revision);
}

}  // namespace AppTitleModule
