// Resolves every import of a PE image the way the Windows loader would, before
// the image itself is loaded. Wine's loader, unlike Windows, loads a module whose
// import is missing and binds the missing function to a stub that aborts on its
// first call, so the driver asks for each function itself.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "wine_support.h"

namespace standin {

namespace {

struct Image {
    std::vector<unsigned char> bytes;
    const IMAGE_NT_HEADERS64* nt = nullptr;
    const IMAGE_SECTION_HEADER* sections = nullptr;
    unsigned sectionCount = 0;

    // The file offset of a relative virtual address, or 0 when no section holds it.
    std::size_t Offset(DWORD rva, std::size_t size) const {
        for (unsigned i = 0; i < sectionCount; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            const DWORD extent = s.SizeOfRawData > s.Misc.VirtualSize ? s.SizeOfRawData : s.Misc.VirtualSize;
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + extent) {
                const std::size_t offset = s.PointerToRawData + (rva - s.VirtualAddress);
                if (offset + size > bytes.size()) return 0;
                return offset;
            }
        }
        return 0;
    }
    template <typename T>
    const T* At(DWORD rva) const {
        const std::size_t off = Offset(rva, sizeof(T));
        return off ? reinterpret_cast<const T*>(bytes.data() + off) : nullptr;
    }
    // A NUL-terminated name inside the file, or nullptr.
    const char* Name(DWORD rva) const {
        const std::size_t off = Offset(rva, 1);
        if (!off) return nullptr;
        const void* end = std::memchr(bytes.data() + off, 0, bytes.size() - off);
        return end ? reinterpret_cast<const char*>(bytes.data() + off) : nullptr;
    }
};

bool ReadImage(const char* path, Image* image, std::ostringstream& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        out << "cannot open " << path << "\n";
        return false;
    }
    image->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const std::vector<unsigned char>& b = image->bytes;
    if (b.size() < sizeof(IMAGE_DOS_HEADER)) {
        out << path << ": too short for a PE image\n";
        return false;
    }
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(b.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 ||
        static_cast<std::size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > b.size()) {
        out << path << ": not a PE image\n";
        return false;
    }
    image->nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(b.data() + dos->e_lfanew);
    const IMAGE_NT_HEADERS64& nt = *image->nt;
    if (nt.Signature != IMAGE_NT_SIGNATURE || nt.FileHeader.Machine != IMAGE_FILE_MACHINE_AMD64 ||
        nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        out << path << ": not an x86-64 PE32+ image\n";
        return false;
    }
    const std::size_t sectionsAt = static_cast<std::size_t>(dos->e_lfanew) +
                                   offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                   nt.FileHeader.SizeOfOptionalHeader;
    image->sectionCount = nt.FileHeader.NumberOfSections;
    if (sectionsAt + image->sectionCount * sizeof(IMAGE_SECTION_HEADER) > b.size()) {
        out << path << ": section table runs past the end of the file\n";
        return false;
    }
    image->sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(b.data() + sectionsAt);
    return true;
}

}  // namespace

bool CheckPluginImports(const char* path, std::string* report) {
    std::ostringstream out;
    Image image;
    if (!ReadImage(path, &image, out)) {
        *report = out.str();
        return false;
    }
    const IMAGE_DATA_DIRECTORY& dir = image.nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) {
        out << path << ": no import table\n";
        *report = out.str();
        return false;
    }

    int missing = 0, total = 0;
    for (DWORD at = dir.VirtualAddress;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* desc = image.At<IMAGE_IMPORT_DESCRIPTOR>(at);
        if (!desc) {
            out << "import directory runs off its section\n";
            ++missing;
            break;
        }
        if (desc->Name == 0) break;
        const char* dll = image.Name(desc->Name);
        if (!dll) {
            out << "import descriptor with an unreadable DLL name\n";
            ++missing;
            break;
        }
        HMODULE module = LoadLibraryA(dll);
        // System DLLs are summed up; the host's functions, and anything that
        // does not resolve, are listed by name.
        const bool listAll = lstrcmpiA(dll, "ScriptHookRDR2.dll") == 0;
        int count = 0;
        std::ostringstream names;
        const DWORD thunks = desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk;
        for (DWORD t = thunks;; t += sizeof(IMAGE_THUNK_DATA64)) {
            const auto* thunk = image.At<IMAGE_THUNK_DATA64>(t);
            if (!thunk || thunk->u1.AddressOfData == 0) break;
            ++total;
            FARPROC proc = nullptr;
            std::string name;
            if (IMAGE_SNAP_BY_ORDINAL64(thunk->u1.Ordinal)) {
                const WORD ordinal = static_cast<WORD>(IMAGE_ORDINAL64(thunk->u1.Ordinal));
                name = "#" + std::to_string(ordinal);
                if (module) proc = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
            } else {
                const DWORD byName = static_cast<DWORD>(thunk->u1.AddressOfData);
                const char* n = image.Name(byName + offsetof(IMAGE_IMPORT_BY_NAME, Name));
                name = n ? n : "<unreadable name>";
                if (module && n) proc = GetProcAddress(module, n);
            }
            ++count;
            if (!proc) ++missing;
            if (listAll || !proc) names << "    " << name << (proc ? "" : "  MISSING") << "\n";
        }
        out << "  " << dll << (module ? "" : "  NOT FOUND") << ": " << count << " functions\n" << names.str();
    }
    out << total << " imports, " << missing << " missing\n";
    *report = out.str();
    return missing == 0 && total > 0;
}

}  // namespace standin
