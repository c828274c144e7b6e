#include "tests/wine/ImportHook.h"

#include <windows.h>

#include <cstring>

namespace vexal::wintest {

void* replaceImport(const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return nullptr;
    for (auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         module->Name != 0; ++module) {
        if (_stricmp(reinterpret_cast<const char*>(base + module->Name), dll) != 0) continue;
        // The names come from the lookup table; the addresses to replace sit
        // at the same index of the address table.
        const DWORD names = module->OriginalFirstThunk != 0 ? module->OriginalFirstThunk : module->FirstThunk;
        auto* name = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + names);
        auto* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++address) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD protection = 0;
            if (!VirtualProtect(&address->u1.Function, sizeof address->u1.Function, PAGE_READWRITE, &protection))
                return nullptr;
            void* former = reinterpret_cast<void*>(address->u1.Function);
            address->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&address->u1.Function, sizeof address->u1.Function, protection, &protection);
            return former;
        }
    }
    return nullptr;
}

}  // namespace vexal::wintest
