#pragma once
// Replaces, for the life of the object, the entry of this program's import
// address table through which the launcher's units (linked into the test
// program) call one imported function, so that a test can stand in for a
// system behaviour that Wine lacks.
#include <windows.h>

#include <cstring>

namespace vexal::wintest {

class ImportHook {
public:
    ImportHook(const char* dll, const char* function, void* replacement) {
        auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleA(nullptr));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (imports.VirtualAddress == 0) return;
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name != 0; ++d) {
            if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0 || d->OriginalFirstThunk == 0)
                continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
                slot_ = reinterpret_cast<void**>(&slots->u1.Function);
                original_ = write(replacement);
                return;
            }
        }
    }
    ~ImportHook() {
        if (slot_) write(original_);
    }
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;
    bool active() const { return slot_ != nullptr; }

private:
    void* write(void* value) {
        DWORD old = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &old);
        void* previous = *slot_;
        *slot_ = value;
        VirtualProtect(slot_, sizeof *slot_, old, &old);
        return previous;
    }

    void** slot_ = nullptr;
    void* original_ = nullptr;
};

}  // namespace vexal::wintest
