// SAMI files on a POSIX file system: loading with the read-only and size rules and the
// conversion from the file's encoding, creating and writing with cleanup, and the system's
// error numbers turned into the Korean reasons.
#include "sami/sami_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "model/sami_model.h"
#include "platform/messenger.h"
#include "sami/sami_writer.h"

namespace verbanta {
namespace sami {
namespace {

// A POSIX file carries the read-only attribute when its owner may not write it.
constexpr mode_t kWriteBit = S_IWUSR;

bool ParentFolderExists(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string parent = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct stat st {};
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsBadPathError(int error)
{
    return error == ENOTDIR || error == ENAMETOOLONG || error == EINVAL || error == ELOOP;
}

bool IsLockError(int error)
{
    return error == EBUSY || error == ETXTBSY || error == EAGAIN || error == EWOULDBLOCK ||
           error == ENOLCK || error == EDEADLK;
}

bool IsDiskFullError(int error)
{
    return error == ENOSPC || error == EDQUOT;
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
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0;
    }

private:
    int m_fd;
};

}  // namespace

std::string OpenFailureReason(int error, const std::string& path)
{
    if (error == ENOENT)
        return ParentFolderExists(path)
                   ? "\r이 존재하지 않습니다."
                   : "\r이 유효하지 않은 파일명이거나, 드라이브나 폴더가 존재하지 않습니다.";
    if (IsBadPathError(error))
        return "\r이 유효하지 않은 파일명이거나, 드라이브나 폴더가 존재하지 않습니다.";
    if (error == EMFILE || error == ENFILE)
        return "\r- 이미 너무 많은 파일이 열려 있습니다.";
    if (error == EISDIR)
        return "\r은 디렉토리입니다.";
    if (error == EACCES || error == EPERM) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return "\r이 존재하지 않습니다.";
        if (S_ISDIR(st.st_mode))
            return "\r은 디렉토리입니다.";
        if (!S_ISREG(st.st_mode))
            return "\r은 특수한 파일입니다.";
        return "\r은 사용할 수 없습니다(이유 알 수 없음).";
    }
    if (error == EIO)
        return "\r- 하드웨어 에러.";
    if (IsLockError(error))
        return "\r은 사용 중입니다.";
    return "\r을 열 수 없습니다(이유 알 수 없음).";
}

std::string CreateFailureReason(int error, const std::string& path)
{
    if (error == ENOENT || IsBadPathError(error))
        return "\r는 유효하지 않은 파일명입니다.";
    if (error == EMFILE || error == ENFILE)
        return "\r- 이미 너무 많은 파일이 열려 있습니다.";
    if (error == EISDIR)
        return "\r는 디렉토리입니다.";
    if (error == EACCES || error == EPERM || error == EROFS) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return "\r을 신규 작성할 수 없습니다.";
        if (S_ISDIR(st.st_mode))
            return "\r는 디렉토리입니다.";
        if (!S_ISREG(st.st_mode))
            return "\r는 특수한 파일입니다.";
        if ((st.st_mode & kWriteBit) == 0 || error == EROFS)
            return "\r은 읽기 전용 파일입니다.";
        return "\r은 사용할 수 없습니다(이유 알 수 없음).";
    }
    if (IsDiskFullError(error))
        return "\r- 디렉토리 용량을 초과하였습니다.";
    if (error == EIO)
        return "\r- 하드웨어 에러.";
    if (IsLockError(error))
        return "\r은 사용 중입니다.";
    return "\r을 열 수 없습니다(이유 알 수 없음).";
}

std::string WriteFailureMessage(int error)
{
    if (IsLockError(error))
        return "파일이 잠겨 있습니다.";
    std::string message = "파일 기록 중에 다음 에러가 발생하였습니다.";
    if (error == EIO)
        message += "\r- 하드웨어 에러.";
    else if (IsDiskFullError(error))
        message += "\r- 디스크 용량 부족.";
    return message;
}

bool WriteFileReporting(const std::string& path, std::string_view bytes, Messenger& messenger)
{
    // A read-only file is refused even where the system would let it be replaced (as the
    // superuser), as the read-only attribute refuses it.
    if (struct stat st{};
        ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & kWriteBit) == 0) {
        messenger.showMessage("파일 \"" + path + "\"\r은 읽기 전용 파일입니다.",
                              MessageIcon::Error);
        return false;
    }
    // Non-blocking only while opening, so that a FIFO without a reader fails instead of hanging.
    FileHandle file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666));
    if (!file.valid()) {
        const int error = errno;
        messenger.showMessage("파일 \"" + path + "\"" + CreateFailureReason(error, path),
                              MessageIcon::Error);
        return false;
    }
    ::fcntl(file.fd(), F_SETFL, ::fcntl(file.fd(), F_GETFL) & ~O_NONBLOCK);
    struct stat st {};
    const bool regular = ::fstat(file.fd(), &st) == 0 && S_ISREG(st.st_mode);

    int error = 0;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(file.fd(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (!file.close() && error == 0)
        error = errno;
    if (error == 0)
        return true;
    // Only a regular file is ours to delete: never a device such as /dev/full.
    if (regular)
        ::unlink(path.c_str());
    messenger.showMessage(WriteFailureMessage(error), MessageIcon::Error);
    return false;
}

bool SaveSamiFile(const SamiModel& model, const std::string& path, int languageIndex,
                  TextEncoding encoding)
{
    return WriteFileReporting(path, FromCp949(WriteSami(model, languageIndex), encoding),
                              model.messenger());
}

bool ExportPlainTextFile(const SamiModel& model, const std::string& path, TextEncoding encoding)
{
    return WriteFileReporting(path, FromCp949(WritePlainText(model), encoding), model.messenger());
}

}  // namespace sami

DecodedText DecodeFileText(std::string_view bytes, std::optional<TextEncoding> encoding)
{
    DecodedText decoded;
    decoded.encoding = encoding ? *encoding : DetectEncoding(bytes);
    // A mark says what it says: UTF-8 chosen for a marked file keeps its mark when saved.
    if (decoded.encoding == TextEncoding::Utf8 && bytes.starts_with("\xEF\xBB\xBF"))
        decoded.encoding = TextEncoding::Utf8Bom;
    decoded.text = ToCp949(bytes, decoded.encoding);
    return decoded;
}

bool SamiModel::LoadFile(const std::string& path, bool replace,
                         std::optional<TextEncoding> encoding)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        (st.st_mode & sami::kWriteBit) == 0) {
        if (::chmod(path.c_str(), (st.st_mode & 07777) | sami::kWriteBit) == 0)
            messenger().showMessage(path + "\n파일의 읽기 전용 속성을 해제하였습니다.",
                                    MessageIcon::Information);
        else
            messenger().showMessage(path +
                                        "\n파일의 읽기 전용 속성을 해제할 수 없습니다.\n\n"
                                        "파일이 쓰기 불가능한 상태인지 확인해 주십시오.",
                                    MessageIcon::Warning);
    }
    // Devices, FIFOs and sockets are never opened: reading them could block or never end.
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        messenger().showMessage(path + "\r은 특수한 파일입니다.", MessageIcon::Error);
        return false;
    }

    // Read and write first; read only when that is refused (the file is then read-only).
    const int readWrite = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    const bool writable = readWrite >= 0;
    sami::FileHandle file(writable ? readWrite : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) {
        const int error = errno;
        messenger().showMessage(path + sami::OpenFailureReason(error, path), MessageIcon::Error);
        return false;
    }
    const int fd = file.fd();
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
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
    if (::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) > kReadLimit)
        return tooLarge();

    // Read until the end or one byte past the limit, which tells a file that grew since it
    // was measured.
    std::string bytes(std::min<std::size_t>(static_cast<std::size_t>(st.st_size), kReadLimit) + 1,
                      '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            if (size > kReadLimit)
                break;
            bytes.resize(std::min(bytes.size() * 2, kReadLimit + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            messenger().showMessage(path + sami::OpenFailureReason(error, path),
                                    MessageIcon::Error);
            return false;
        }
        if (n == 0)
            break;
        size += static_cast<std::size_t>(n);
    }
    if (size > kReadLimit)
        return tooLarge();
    bytes.resize(size);

    // UTF-16 text must be converted before the scanner sees it: its zero bytes would end it.
    const DecodedText decoded = DecodeFileText(bytes, encoding);
    if (decoded.text.size() > kMaxSamiFileBytes)
        return tooLarge();

    if (replace) {
        // Only the document's own file decides whether the document is read-only and how it
        // is saved; an appended file keeps the document's encoding.
        LoadText(decoded.text);
        readOnly = !writable;
        fileEncoding = decoded.encoding;
    } else {
        AppendTextAt(GetTailPosition(), decoded.text);
    }
    return true;
}

}  // namespace verbanta
