// Points one import of this program at another function for a while, so that
// a test or benchmark can watch the program's own calls into a system DLL
// (the code under test is linked into the same executable and calls through
// the same import table). The replacement forwards to the real function.
#pragma once

#include <string.h>
#include <windows.h>

class ImportPatch {
  public:
    // Patches the import of `function` from `dll` (case-insensitive) in this
    // executable's import table. Real() is null when there is no such import.
    ImportPatch(const char* dll, const char* function, void* replacement) {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports =
            nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
        for (; imports.VirtualAddress && module->Name; ++module) {
            if (lstrcmpiA(reinterpret_cast<char*>(base + module->Name), dll) != 0) continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto* byName =
                    reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
                slot_ = reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
                real_ = reinterpret_cast<void*>(*slot_);
                Write(reinterpret_cast<ULONG_PTR>(replacement));
                return;
            }
        }
    }
    ~ImportPatch() {
        if (slot_) Write(reinterpret_cast<ULONG_PTR>(real_));
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // The function the import pointed at before.
    template <typename Function>
    Function Real() const {
        return reinterpret_cast<Function>(real_);
    }

  private:
    void Write(ULONG_PTR target) {
        DWORD protection;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        *slot_ = target;
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    }

    ULONG_PTR* slot_ = nullptr;
    void* real_ = nullptr;
};
