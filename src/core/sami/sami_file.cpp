// SAMI files on the file system: loading with the read-only and size rules and the
// conversion from the file's encoding, creating and writing with cleanup, and the system's
// error numbers turned into the Korean reasons.
#include "sami/sami_file.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <type_traits>
#include <vector>

#include "document/file_operations.h"
#include "document/path_parts.h"
#include "model/ascii_case.h"
#include "model/sami_model.h"
#include "platform/atomic_file_writer.h"
#include "platform/large_page_allocator.h"
#include "platform/messenger.h"
#include "platform/system.h"
#include "sami/sami_writer.h"

namespace verbanta {
namespace sami {
namespace {

// A file carries the read-only attribute when its owner may not write it (FileStatus gives
// the Windows attribute as these permission bits too).
constexpr unsigned kWriteBit = 0200;

bool parentFolderExists(const std::string& path)
{
    const std::size_t slash = lastSeparator(path);
    const std::string parent = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    return platform::pathInfo(parent).kind == platform::PathInfo::Kind::Directory;
}

// A permission the system refuses says so, for the file or the folder it is in.
constexpr const char* kNoReadPermission = "\r을 읽을 권한이 없습니다.";
constexpr const char* kNoWritePermission =
    "\r에 쓸 권한이 없습니다(파일이나 폴더의 권한을 확인해 주십시오).";

bool isBadPathError(int error)
{
    return error == ENOTDIR || error == ENAMETOOLONG || error == EINVAL || error == ELOOP;
}

bool isLockError(int error)
{
    return error == EBUSY || error == ETXTBSY || error == EAGAIN || error == EWOULDBLOCK ||
           error == ENOLCK || error == EDEADLK;
}

bool isDiskFullError(int error)
{
#ifdef EDQUOT  // no quotas on Windows
    return error == ENOSPC || error == EDQUOT;
#else
    return error == ENOSPC;
#endif
}

/// Closes the descriptor on every path out.
class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int fd() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    /// Closes now; false (with errno set) when the system reports a late write error.
    bool close()
    {
        if (m_fd < 0)
            return true;
        const bool ok = platform::closeHandle(m_fd);
        m_fd = -1;
        return ok;
    }

private:
    int m_fd;
};

}  // namespace

std::string openFailureReason(int error, const std::string& path)
{
    if (error == ENOENT)
        return parentFolderExists(path)
                   ? "\r이 존재하지 않습니다."
                   : "\r이 유효하지 않은 파일명이거나, 드라이브나 폴더가 존재하지 않습니다.";
    if (isBadPathError(error))
        return "\r이 유효하지 않은 파일명이거나, 드라이브나 폴더가 존재하지 않습니다.";
    if (error == EMFILE || error == ENFILE)
        return "\r- 이미 너무 많은 파일이 열려 있습니다.";
    if (error == EISDIR)
        return "\r은 디렉토리입니다.";
    if (error == EACCES || error == EPERM) {
        const platform::PathInfo info = platform::pathInfo(path);
        if (info.kind == platform::PathInfo::Kind::Missing)
            return "\r이 존재하지 않습니다.";
        if (info.kind == platform::PathInfo::Kind::Directory)
            return "\r은 디렉토리입니다.";
        if (info.kind != platform::PathInfo::Kind::Regular)
            return "\r은 특수한 파일입니다.";
        return kNoReadPermission;
    }
    if (error == EIO)
        return "\r- 하드웨어 에러.";
    if (isLockError(error))
        return "\r은 사용 중입니다.";
    return "\r을 열 수 없습니다(이유 알 수 없음).";
}

std::string createFailureReason(int error, const std::string& path)
{
    if (error == ENOENT || isBadPathError(error))
        return "\r는 유효하지 않은 파일명입니다.";
    if (error == EMFILE || error == ENFILE)
        return "\r- 이미 너무 많은 파일이 열려 있습니다.";
    if (error == EISDIR)
        return "\r는 디렉토리입니다.";
    if (error == EACCES || error == EPERM || error == EROFS) {
        const platform::PathInfo info = platform::pathInfo(path);
        if (info.kind == platform::PathInfo::Kind::Missing)
            return "\r을 신규 작성할 수 없습니다.";
        if (info.kind == platform::PathInfo::Kind::Directory)
            return "\r는 디렉토리입니다.";
        if (info.kind != platform::PathInfo::Kind::Regular)
            return "\r는 특수한 파일입니다.";
        if (!info.ownerWritable || error == EROFS)
            return "\r은 읽기 전용 파일입니다.";
        return kNoWritePermission;
    }
    if (isDiskFullError(error))
        return "\r- 디렉토리 용량을 초과하였습니다.";
    if (error == ENXIO)
        return "\r는 특수한 파일입니다.";  // a FIFO that nobody reads
    if (error == EIO)
        return "\r- 하드웨어 에러.";
    if (isLockError(error))
        return "\r은 사용 중입니다.";
    return "\r을 열 수 없습니다(이유 알 수 없음).";
}

std::string writeFailureMessage(int error)
{
    if (isLockError(error))
        return "파일이 잠겨 있습니다.";
    std::string message = "파일 기록 중에 다음 에러가 발생하였습니다.";
    if (error == EIO)
        message += "\r- 하드웨어 에러.";
    else if (isDiskFullError(error))
        message += "\r- 디스크 용량 부족.";
    return message;
}

void reportWriteFailure(const AtomicWriteResult& result, const std::string& shownPath,
                        Messenger& messenger)
{
    switch (result.failed) {
        case WriteStep::None:
        case WriteStep::BeforeRename:
            return;
        case WriteStep::Resolve:
        case WriteStep::Name:
        case WriteStep::Open:
            messenger.showMessage(
                "파일 \"" + shownPath + "\"" + createFailureReason(result.error, shownPath),
                MessageIcon::Error);
            return;
        case WriteStep::Rename:
            messenger.showMessage(
                "파일 \"" + result.target + "\"" + createFailureReason(result.error, result.target),
                MessageIcon::Error);
            return;
        case WriteStep::Write:
        case WriteStep::Flush:
        case WriteStep::Close:
        case WriteStep::FolderFlush:
            messenger.showMessage(writeFailureMessage(result.error), MessageIcon::Error);
            return;
    }
}

bool writeFileReporting(const std::string& path, std::string_view bytes, Messenger& messenger,
                        FileOperations& files)
{
    // A read-only file is refused even where the system would let it be replaced (as the
    // superuser), as the read-only attribute refuses it.
    if (const FileStatus st = files.status(path);
        st.kind == FileStatus::Kind::Regular && (st.mode & kWriteBit) == 0) {
        messenger.showMessage("파일 \"" + path + "\"\r은 읽기 전용 파일입니다.",
                              MessageIcon::Error);
        return false;
    }
    const AtomicWriteResult result = writeFileAtomically(path, bytes, files);
    reportWriteFailure(result, path, messenger);
    return result.ok();
}

bool writeFileReporting(const std::string& path, std::string_view bytes, Messenger& messenger)
{
    return writeFileReporting(path, bytes, messenger, systemFileOperations());
}

bool saveSamiFile(const SamiModel& model, const std::string& path, int languageIndex,
                  TextEncoding encoding)
{
    return writeFileReporting(path, fromCp949(writeSami(model, languageIndex), encoding),
                              model.messenger());
}

bool exportPlainTextFile(const SamiModel& model, const std::string& path, TextEncoding encoding)
{
    return writeFileReporting(path, fromCp949(writePlainText(model), encoding), model.messenger());
}

}  // namespace sami

namespace {

TextEncoding fileTextEncoding(std::string_view bytes, std::optional<TextEncoding> encoding)
{
    const TextEncoding chosen = encoding ? *encoding : detectEncoding(bytes);
    // A mark says what it says: UTF-8 chosen for a marked file keeps its mark when saved.
    if (chosen == TextEncoding::Utf8 && bytes.starts_with("\xEF\xBB\xBF"))
        return TextEncoding::Utf8Bom;
    return chosen;
}

}  // namespace

DecodedText decodeFileText(std::string_view bytes, std::optional<TextEncoding> encoding)
{
    DecodedText decoded;
    decoded.encoding = fileTextEncoding(bytes, encoding);
    decoded.text = toCp949(bytes, decoded.encoding);
    return decoded;
}

namespace sami {

bool clearReadOnlyAttribute(const std::string& path, Messenger& messenger)
{
    const platform::PathInfo info = platform::pathInfo(path);
    if (info.kind != platform::PathInfo::Kind::Regular || info.ownerWritable)
        return true;
    if (platform::clearReadOnly(path)) {
        messenger.showMessage(path + "\n파일의 읽기 전용 속성을 해제하였습니다.",
                              MessageIcon::Information);
        return true;
    }
    messenger.showMessage(path +
                              "\n파일의 읽기 전용 속성을 해제할 수 없습니다.\n\n"
                              "파일이 쓰기 불가능한 상태인지 확인해 주십시오.",
                          MessageIcon::Warning);
    return false;
}

bool holdsSamiMarkup(std::string_view text)
{
    // A document saved before its first caption has no SYNC but is SAMI all the same.
    return findIgnoringCase(text, "<SAMI") != std::string_view::npos ||
           findIgnoringCase(text, "<SYNC") != std::string_view::npos;
}

namespace {

/// Where the first NUL character is in the file's own bytes.
std::size_t FirstNulCharacter(std::string_view bytes, TextEncoding encoding)
{
    if (encoding != TextEncoding::Utf16Le && encoding != TextEncoding::Utf16Be)
        return bytes.find('\0');
    // UTF-16 has zero bytes in most characters: only a whole zero unit is a NUL character.
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == '\0' && bytes[i + 1] == '\0')
            return i;
    return std::string_view::npos;
}

}  // namespace
}  // namespace sami

namespace {

/// Huge-page room for a file's bytes that a read fills: growing it leaves the new bytes
/// uncleared, since the read writes every one it keeps.
struct ReadRoomAllocator : platform::LargePageAllocator<char> {
    template <typename U>
    struct rebind {
        static_assert(std::is_same_v<U, char>);
        using other = ReadRoomAllocator;
    };
    void construct(char* at) noexcept { ::new (static_cast<void*>(at)) char; }
};

}  // namespace

bool SamiModel::LoadFile(const std::string& path, bool replace,
                         std::optional<TextEncoding> encoding)
{
    using Kind = platform::PathInfo::Kind;
    // Devices, FIFOs and sockets are never opened: reading them could block or never end.
    if (const Kind kind = platform::pathInfo(path).kind;
        kind != Kind::Missing && kind != Kind::Regular && kind != Kind::Directory) {
        messenger().showMessage(path + "\r은 특수한 파일입니다.", MessageIcon::Error);
        return false;
    }

    // Read and write first; read only when that is refused (the file is then read-only).
    const int readWrite = platform::openFile(path, true);
    const bool writable = readWrite >= 0;
    sami::FileHandle file(writable ? readWrite : platform::openFile(path, false));
    if (!file.valid()) {
        const int error = errno;
        messenger().showMessage(path + sami::openFailureReason(error, path), MessageIcon::Error);
        return false;
    }
    const int fd = file.fd();
    platform::PathInfo opened = platform::handleInfo(fd);
    if (opened.kind == Kind::Directory) {
        messenger().showMessage(path + "\r은 디렉토리입니다.", MessageIcon::Error);
        return false;
    }
    const auto tooLarge = [&] {
        messenger().showMessage(path + "\n파일의 크기가 너무 커서 편집이 불가능합니다.",
                                MessageIcon::Error);
        return false;
    };
    // The limit counts the converted text, so a UTF-16 file may be larger on disk; no file
    // beyond this can convert to less than the limit.
    constexpr std::size_t kReadLimit = kMaxUnicodeSamiFileBytes;
    opened = platform::handleInfo(fd);
    if (opened.kind != Kind::Missing && opened.size > kReadLimit)
        return tooLarge();

    // Read until the end or past the limit, which tells a file that grew since it was
    // measured. The bytes go straight from the file into room for all of it, on huge pages
    // once it is large: a long file then costs a few dozen page faults and no copy, and
    // scanning it misses the address cache no more often than scanning a short one.
    std::vector<char, ReadRoomAllocator> bytes(
        std::min<std::size_t>(static_cast<std::size_t>(opened.size), kReadLimit) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, kReadLimit + 1));
        const std::int64_t n = platform::readSome(fd, bytes.data() + size, bytes.size() - size);
        if (n < 0) {
            const int error = errno;
            messenger().showMessage(path + sami::openFailureReason(error, path),
                                    MessageIcon::Error);
            return false;
        }
        if (n == 0)
            break;
        size += static_cast<std::size_t>(n);
        if (size > kReadLimit)
            return tooLarge();
    }
    const std::string_view fileBytes(bytes.data(), size);

    // UTF-16 text must be converted before the scanner sees it: its zero bytes would end it.
    // CP949 bytes are the text as they are.
    const TextEncoding detected = fileTextEncoding(fileBytes, encoding);
    const std::string converted =
        detected == TextEncoding::Cp949 ? std::string() : toCp949(fileBytes, detected);
    const std::string_view text = detected == TextEncoding::Cp949 ? fileBytes : converted;
    if (text.size() > kMaxSamiFileBytes)
        return tooLarge();
    // The scanner stops at a NUL character; the text up to it decides what the file is.
    const std::string_view readable = text.substr(0, text.find('\0'));
    if (!readable.empty() && !sami::holdsSamiMarkup(readable)) {
        messenger().showMessage(path +
                                    "\n파일에 SAMI 자막이 없습니다.\n"
                                    "SAMI 자막 파일이 아니거나 손상된 파일입니다.",
                                MessageIcon::Error);
        return false;
    }
    std::size_t unread = 0;
    if (readable.size() < text.size()) {
        std::size_t at = sami::FirstNulCharacter(fileBytes, detected);
        if (at == std::string::npos)
            at = readable.size();
        unread = size - at;
        messenger().showMessage(path + "\n파일의 " + std::to_string(at + 1) +
                                    "번째 바이트가 널 문자(0)여서 그 앞까지만 읽었습니다.\n"
                                    "그 바이트부터 끝까지 " +
                                    std::to_string(unread) + "바이트는 읽지 않았습니다.",
                                MessageIcon::Warning);
    }

    if (replace) {
        // Only the document's own file decides whether the document is read-only and how it
        // is saved; an appended file keeps the document's encoding.
        LoadText(text);
        readOnly = !writable;
        fileEncoding = detected;
        unreadBytes = unread;
    } else {
        AppendTextAt(GetTailPosition(), text);
    }
    return true;
}

}  // namespace verbanta
