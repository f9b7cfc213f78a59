#include "discovery/psfilterpdn_settings.h"

#include <string.h>
#include <windows.h>

#include <objbase.h>
#include <xmllite.h>

#include "common/com_apartment.h"
#include "common/handles.h"
#include "common/system_function.h"
#include "discovery/settings_file.h"

namespace {

using CreateXmlReaderProc = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

// The local names of a folder's element and the elements around it, from
// the document's root down.
const WCHAR* const kFolderElement[] = {L"PSFilterPdnSettings", L"SearchDirectories", L"string"};
constexpr UINT kFolderDepth = 2;

// Whether the file ends with the root's end tag, as the host writes it (in
// UTF-8): a reader may take a file cut short after any other end tag as
// whole, closing the root itself.
bool EndsWithRootTag(const char* bytes, DWORD size) {
    static const char kEnd[] = "PSFilterPdnSettings>";
    while (size > 0 && static_cast<unsigned char>(bytes[size - 1]) <= ' ') --size;
    return size >= sizeof kEnd - 1 &&
           memcmp(bytes + size - (sizeof kEnd - 1), kEnd, sizeof kEnd - 1) == 0;
}

// Reads the document from its start to its end, offering each folder when
// `offer`. Returns whether it is well-formed throughout. The elements are
// counted here, as readers differ in the depth they give an end tag.
bool ReadFolders(IXmlReader* reader, bool offer, char* folder) {
    UINT open = 0;     // elements open around the current node
    UINT matched = 0;  // of those, how many from the root kFolderElement names
    XmlNodeType type;
    HRESULT status;
    while ((status = reader->Read(&type)) == S_OK) {
        const WCHAR* text = nullptr;
        UINT length = 0;
        if (type == XmlNodeType_Element) {
            if (matched > open) matched = open;
            if (matched == open && open <= kFolderDepth &&
                reader->GetLocalName(&text, nullptr) == S_OK &&
                lstrcmpW(text, kFolderElement[open]) == 0)
                ++matched;
            if (!reader->IsEmptyElement()) ++open;
        } else if (type == XmlNodeType_EndElement) {
            --open;
        } else if (type == XmlNodeType_Text && offer && matched > kFolderDepth &&
                   open == kFolderDepth + 1 && reader->GetValue(&text, &length) == S_OK) {
            OfferSettingsFolder(text, static_cast<int>(length), folder);
        }
    }
    return status == S_FALSE;
}

}  // namespace

void ScanPsFilterPdnSettings(char* path) {
    DWORD size = 0;
    GlobalMemory memory = ReadSettingsFile(path, &size);
    const char* bytes = memory ? static_cast<const char*>(GlobalLock(memory.Get())) : nullptr;
    if (!bytes) return;
    bool whole = EndsWithRootTag(bytes, size);
    GlobalUnlock(memory.Get());
    if (!whole) return;
    // Most starts find no such file: the library is loaded only for one.
    LibraryHandle xmllite(LoadSystemLibrary("xmllite.dll"));
    auto create = xmllite ? reinterpret_cast<CreateXmlReaderProc>(
                                GetProcAddress(xmllite.Get(), "CreateXmlReader"))
                          : nullptr;
    ComRef<IStream> stream;
    ComRef<IXmlReader> reader;
    auto streamOn = OleFunction<decltype(&CreateStreamOnHGlobal)>("CreateStreamOnHGlobal");
    if (!create || !streamOn || FAILED(streamOn(memory.Get(), TRUE, stream.Out()))) return;
    memory.Release();  // the stream frees it
    // The stream is as long as the memory, which holds a NUL and more.
    ULARGE_INTEGER end;
    end.QuadPart = size;
    if (FAILED(stream->SetSize(end)) ||
        FAILED(create(__uuidof(IXmlReader), reader.OutVoid(), nullptr)))
        return;
    // A file the host could not read adds nothing: the whole document is
    // read once before its folders are offered.
    for (bool offer : {false, true}) {
        LARGE_INTEGER start{};
        if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
            FAILED(reader->SetInput(stream.Get())) || !ReadFolders(reader.Get(), offer, path))
            return;
    }
}
