#include "media/mediainfo.h"

#include <MediaInfoDLL/MediaInfoDLL_Static.h>

#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <mutex>

namespace {

// The narrow interface converts its texts by the C locale unless told to use UTF-8; that switch
// is library-wide, so it is made once, before the first handle exists.
void UseUtf8Texts() {
    static std::once_flag once;
    std::call_once(once, [] { MediaInfoA_Option(nullptr, "CharSet", "UTF-8"); });
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
    MediaInfoA_Close(handle);
    MediaInfoA_Delete(handle);
}

TMediaInfo::TMediaInfo() {
    UseUtf8Texts();
    m_handle.reset(MediaInfoA_New());
}

TMediaInfo::~TMediaInfo() = default;

void TMediaInfo::Option(const char* option, const char* value) {
    if (m_handle)
        MediaInfoA_Option(m_handle.get(), option, value);
}

bool TMediaInfo::Open(const QString& path) {
    if (!m_handle || path.isEmpty())
        return false;
    const TUtf8CtypeScope utf8Names;
    m_open = MediaInfoA_Open(m_handle.get(), path.toUtf8().constData()) != 0;
    return m_open;
}

QString TMediaInfo::Get(TStreamKind kind, const char* parameter) const {
    if (!m_open)
        return {};
    return Copy(MediaInfoA_Get(m_handle.get(), static_cast<MediaInfo_stream_C>(kind), 0, parameter,
                               MediaInfo_Info_Text, MediaInfo_Info_Name));
}

QString TMediaInfo::Inform() const {
    if (!m_open)
        return {};
    return Copy(MediaInfoA_Inform(m_handle.get(), 0));
}

void TMediaInfo::LibraryOption(const char* option, const char* value) {
    UseUtf8Texts();
    MediaInfoA_Option(nullptr, option, value);
}
