#include "media/mediainfo.h"

#include <MediaInfoDLL/MediaInfoDLL_Static.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <langinfo.h>
#include <locale.h>

namespace {

// The library is opened on first use instead of being linked: it brings some forty libraries of
// its own (network, TLS and directory-service ones among them), and loading and relocating them
// at program start would delay everything the program does before it first describes a file,
// such as starting the first conversion. It stays loaded for the life of the process.
struct TLibrary {
    decltype(&MediaInfoA_New) New = nullptr;
    decltype(&MediaInfoA_Delete) Delete = nullptr;
    decltype(&MediaInfoA_Open) Open = nullptr;
    decltype(&MediaInfoA_Close) Close = nullptr;
    decltype(&MediaInfoA_Get) Get = nullptr;
    decltype(&MediaInfoA_Inform) Inform = nullptr;
    decltype(&MediaInfoA_Option) Option = nullptr;
    bool loaded = false;
};

// A call without a handle makes the library create an object of its own that it keeps for the life
// of the process and never frees; a leak checker is told not to count it.
template <typename... Args> void HandlelessOption(decltype(&MediaInfoA_Option) option, Args... args) {
#if defined(__SANITIZE_ADDRESS__)
    __lsan_disable();
#endif
    option(nullptr, args...);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_enable();
#endif
}

template <typename F> bool Resolve(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

const TLibrary& Library() {
    static const TLibrary library = [] {
        TLibrary l;
        // Functions are bound when first called, which saves binding the whole network library
        // chain libmediainfo brings for the local files it is given here.
        void* handle = dlopen("libmediainfo.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (!handle) {
            std::fprintf(stderr, "The MediaInfo library could not be loaded: %s\n", dlerror());
            return l;
        }
        if (!Resolve(handle, "MediaInfoA_New", l.New) || !Resolve(handle, "MediaInfoA_Delete", l.Delete) ||
            !Resolve(handle, "MediaInfoA_Open", l.Open) || !Resolve(handle, "MediaInfoA_Close", l.Close) ||
            !Resolve(handle, "MediaInfoA_Get", l.Get) || !Resolve(handle, "MediaInfoA_Inform", l.Inform) ||
            !Resolve(handle, "MediaInfoA_Option", l.Option)) {
            std::fprintf(stderr, "The MediaInfo library lacks a function: %s\n", dlerror());
            return l;
        }
        // The narrow interface converts its texts by the C locale unless told to use UTF-8; that
        // switch is library-wide, so it is made once, before the first handle exists.
        HandlelessOption(l.Option, "CharSet", "UTF-8");
        l.loaded = true;
        return l;
    }();
    return library;
}

// Texts returned by the library live in a buffer of the handle that the next call reuses, so they
// are copied at once.
QString Copy(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// The library hands a file name to the system through the C library's wide-to-multibyte
// conversion, which follows LC_CTYPE: under a non-UTF-8 locale such as "C" a name with non-ASCII
// letters could not be opened. For the time of an open this thread's character type is UTF-8,
// the encoding of file names here; other threads and the process locale are not touched.
class TUtf8CtypeScope {
  public:
    TUtf8CtypeScope() {
        if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
            return;
        locale_t base = duplocale(uselocale(nullptr));
        m_utf8 = base ? newlocale(LC_CTYPE_MASK, "C.UTF-8", base) : nullptr;
        if (m_utf8)
            m_previous = uselocale(m_utf8);
        else if (base)
            freelocale(base);
    }
    ~TUtf8CtypeScope() {
        if (!m_utf8)
            return;
        uselocale(m_previous);
        freelocale(m_utf8);
    }
    TUtf8CtypeScope(const TUtf8CtypeScope&) = delete;
    TUtf8CtypeScope& operator=(const TUtf8CtypeScope&) = delete;

  private:
    locale_t m_utf8 = nullptr;
    locale_t m_previous = nullptr;
};

} // namespace

void TMediaInfo::Deleter::operator()(void* handle) const {
    Library().Close(handle);
    Library().Delete(handle);
}

TMediaInfo::TMediaInfo() {
    // Without the library there is no handle, and no file opens.
    if (Library().loaded)
        m_handle.reset(Library().New());
}

TMediaInfo::~TMediaInfo() = default;

void TMediaInfo::Option(const char* option, const char* value) {
    if (m_handle)
        Library().Option(m_handle.get(), option, value);
}

bool TMediaInfo::Open(const QString& path) {
    if (!m_handle || path.isEmpty())
        return false;
    const TUtf8CtypeScope utf8Names;
    m_open = Library().Open(m_handle.get(), path.toUtf8().constData()) != 0;
    return m_open;
}

QString TMediaInfo::Get(TStreamKind kind, const char* parameter) const {
    if (!m_open)
        return {};
    return Copy(Library().Get(m_handle.get(), static_cast<MediaInfo_stream_C>(kind), 0, parameter,
                              MediaInfo_Info_Text, MediaInfo_Info_Name));
}

QString TMediaInfo::Inform() const {
    if (!m_open)
        return {};
    return Copy(Library().Inform(m_handle.get(), 0));
}

void TMediaInfo::LibraryOption(const char* option, const char* value) {
    if (Library().loaded)
        HandlelessOption(Library().Option, option, value);
}

bool TMediaInfo::Load() {
    return Library().loaded;
}
