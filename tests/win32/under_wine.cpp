#include "tests/win32/under_wine.h"

#include <windows.h>

namespace varelo::test {

bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace varelo::test
